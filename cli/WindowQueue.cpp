#include "WindowQueue.h"

#include <cstddef>
#include <cstring>

namespace lark {

WindowQueue::WindowQueue() : window_{{&WindowQueue::post}, this} {}

WindowQueue::~WindowQueue() {
    for (const Posted &p : messages_) releaseNotification(p);
}

int WindowQueue::post(EngWnd *self, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    WindowQueue *queue = reinterpret_cast<Window *>(self)->owner;
    {
        std::lock_guard lock(queue->mutex_);
        if (queue->refusing_) return 0;
        queue->messages_.push_back(Posted{msg, wParam, lParam});
    }
    queue->arrived_.notify_all();
    return 1;
}

std::optional<Posted> WindowQueue::take(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    if (!arrived_.wait_for(lock, wait, [this] { return !messages_.empty(); })) return std::nullopt;
    Posted p = messages_.front();
    messages_.pop_front();
    return p;
}

size_t WindowQueue::size() const {
    std::lock_guard lock(mutex_);
    return messages_.size();
}

void WindowQueue::refusePosts() {
    std::lock_guard lock(mutex_);
    refusing_ = true;
}

namespace {

// Releases the strings of a record inside a payload; the record is read by
// copy, since records are packed and their pointers may be misaligned.
template <class Record, size_t N>
void releaseStrings(const char *payload, size_t length, size_t offset, char *Record::*const (&fields)[N]) {
    if (length < offset + sizeof(Record)) return;
    Record record;
    std::memcpy(&record, payload + offset, sizeof record);
    for (auto field : fields) Eng_FreeMem(record.*field);
}

char *EngUrlResRecord::*const kUrlResStrings[] = {&EngUrlResRecord::url, &EngUrlResRecord::formData,
                                                   &EngUrlResRecord::errorText, &EngUrlResRecord::contentType,
                                                   &EngUrlResRecord::title};
char *EngTaskRecord::*const kTaskStrings[] = {
    &EngTaskRecord::url,    &EngTaskRecord::formData, &EngTaskRecord::reserved1, &EngTaskRecord::reserved2,
    &EngTaskRecord::userAgent, &EngTaskRecord::filter, &EngTaskRecord::note,      &EngTaskRecord::name,
    &EngTaskRecord::referer, &EngTaskRecord::errorText, &EngTaskRecord::contentType};

}  // namespace

void releaseNotification(const Posted &posted) {
    // Notifications with a payload carry its length in wParam and the
    // buffer in lParam; the online verdict carries only a value. The strings
    // of the records inside go first, then the buffer.
    if (posted.msg == ENG_NOTIFY_ONLINE) return;
    const auto *payload = reinterpret_cast<const char *>(posted.lParam);
    const size_t length = posted.wParam;
    switch (posted.msg) {
        case ENG_NOTIFY_URLRES:
            releaseStrings(payload, length, 1 + sizeof(EngItemRecord), kUrlResStrings);
            break;
        case ENG_NOTIFY_TASK_ADDED:
        case ENG_NOTIFY_TASK_CHANGED:
            releaseStrings(payload, length, 0, kTaskStrings);
            break;
        default:
            break;
    }
    Eng_FreeMem(reinterpret_cast<void *>(posted.lParam));
}

}  // namespace lark
