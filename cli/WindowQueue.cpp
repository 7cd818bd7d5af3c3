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
    bool takerWaits = false;
    {
        std::lock_guard lock(queue->mutex_);
        if (queue->refusing_) return 0;
        queue->messages_.push_back(Posted{msg, wParam, lParam});
        takerWaits = queue->waiting_ != 0;
    }
    // Waking costs a system call: only a taker that sleeps needs it.
    if (takerWaits) queue->arrived_.notify_all();
    return 1;
}

std::optional<Posted> WindowQueue::take(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    ++waiting_;
    const bool arrived = arrived_.wait_for(lock, wait, [this] { return !messages_.empty(); });
    --waiting_;
    if (!arrived) return std::nullopt;
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

// Releases the strings of a record inside a payload, each string address
// read by copy from its offset: records are packed, so their fields may not
// be aligned.
template <size_t N>
void releaseStrings(const char *payload, size_t length, size_t offset, size_t recordSize, const size_t (&fields)[N]) {
    if (length < offset + recordSize) return;
    for (size_t field : fields) {
        char *text = nullptr;
        std::memcpy(&text, payload + offset + field, sizeof text);
        Eng_FreeMem(text);
    }
}

constexpr size_t kUrlResStrings[] = {offsetof(EngUrlResRecord, url), offsetof(EngUrlResRecord, formData),
                                     offsetof(EngUrlResRecord, errorText), offsetof(EngUrlResRecord, contentType),
                                     offsetof(EngUrlResRecord, title)};
constexpr size_t kTaskStrings[] = {
    offsetof(EngTaskRecord, url),       offsetof(EngTaskRecord, formData),   offsetof(EngTaskRecord, reserved1),
    offsetof(EngTaskRecord, reserved2), offsetof(EngTaskRecord, userAgent),  offsetof(EngTaskRecord, filter),
    offsetof(EngTaskRecord, note),      offsetof(EngTaskRecord, name),       offsetof(EngTaskRecord, referer),
    offsetof(EngTaskRecord, errorText), offsetof(EngTaskRecord, contentType)};
constexpr size_t kProgressStrings[] = {offsetof(EngDownloadProgressRecord, url),
                                       offsetof(EngDownloadProgressRecord, postData),
                                       offsetof(EngDownloadProgressRecord, contentType)};

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
            releaseStrings(payload, length, 1 + sizeof(EngItemRecord), sizeof(EngUrlResRecord), kUrlResStrings);
            break;
        case ENG_NOTIFY_PROGRESS:
            releaseStrings(payload, length, 0, sizeof(EngDownloadProgressRecord), kProgressStrings);
            break;
        case ENG_NOTIFY_TASK_ADDED:
        case ENG_NOTIFY_TASK_CHANGED:
            releaseStrings(payload, length, 0, sizeof(EngTaskRecord), kTaskStrings);
            break;
        default:
            break;
    }
    Eng_FreeMem(reinterpret_cast<void *>(posted.lParam));
}

}  // namespace lark
