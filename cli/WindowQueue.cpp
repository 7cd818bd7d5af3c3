#include "WindowQueue.h"

#include "RecordRelease.h"

namespace lark {

namespace {

// Releases a notification's payload (the buffer; records with strings
// release those first).
void releaseNotification(const Posted &posted) {
    eng::client::releaseNotificationPayload(posted.msg, posted.wParam, posted.lParam, Eng_FreeMem);
}

}  // namespace

TakenPost::~TakenPost() { releaseNotification(*this); }

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

std::optional<TakenPost> WindowQueue::take(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    ++waiting_;
    const bool arrived = arrived_.wait_for(lock, wait, [this] { return !messages_.empty(); });
    --waiting_;
    if (!arrived) return std::nullopt;
    TakenPost taken(messages_.front());
    messages_.pop_front();
    return taken;
}

size_t WindowQueue::size() const {
    std::lock_guard lock(mutex_);
    return messages_.size();
}

void WindowQueue::refusePosts() {
    std::lock_guard lock(mutex_);
    refusing_ = true;
}

}  // namespace lark
