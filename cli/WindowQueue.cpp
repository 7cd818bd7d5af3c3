#include "WindowQueue.h"

#include <cstddef>

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

void releaseNotification(const Posted &posted) {
    // Notifications with a payload carry its length in wParam and the
    // buffer in lParam; the online verdict carries only a value.
    if (posted.msg == ENG_NOTIFY_ONLINE) return;
    Eng_FreeMem(reinterpret_cast<void *>(posted.lParam));
}

}  // namespace lark
