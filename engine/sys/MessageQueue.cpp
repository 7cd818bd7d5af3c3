#include "sys/MessageQueue.h"

#include <algorithm>

namespace eng {

namespace {
bool inRange(const Message &m, uint32_t first, uint32_t last) { return m.msg >= first && m.msg <= last; }
}  // namespace

bool MessageQueue::post(const Message &message) {
    {
        std::lock_guard lock(mutex_);
        if (closed_) return false;
        messages_.push_back(message);
    }
    posted_.notify_one();
    return true;
}

void MessageQueue::postQuit() { post(Message{kQuitMessage, 0, 0}); }

void MessageQueue::close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
}

bool MessageQueue::hasInRange(uint32_t first, uint32_t last) const {
    std::lock_guard lock(mutex_);
    return std::any_of(messages_.begin(), messages_.end(), [&](const Message &m) { return inRange(m, first, last); });
}

std::optional<Message> MessageQueue::takeInRange(uint32_t first, uint32_t last) {
    std::lock_guard lock(mutex_);
    auto it =
        std::find_if(messages_.begin(), messages_.end(), [&](const Message &m) { return inRange(m, first, last); });
    if (it == messages_.end()) return std::nullopt;
    Message m = *it;
    messages_.erase(it);
    return m;
}

std::optional<uint32_t> MessageQueue::dueTimerLocked(Clock::time_point now) const {
    std::optional<uint32_t> earliest;
    Clock::time_point earliestDue{};
    for (const auto &[id, timer] : timers_) {
        if (timer.due <= now && (!earliest || timer.due < earliestDue)) {
            earliest = id;
            earliestDue = timer.due;
        }
    }
    return earliest;
}

std::optional<Message> MessageQueue::takeNext() {
    std::lock_guard lock(mutex_);
    if (!messages_.empty()) {
        Message m = messages_.front();
        messages_.pop_front();
        return m;
    }
    const auto now = Clock::now();
    if (auto id = dueTimerLocked(now)) {
        Timer &timer = timers_.at(*id);
        timer.due = now + timer.period;
        return Message{kTimerMessage, *id, 0};
    }
    return std::nullopt;
}

std::optional<Message> MessageQueue::takeOverdueTimer() {
    std::lock_guard lock(mutex_);
    const auto now = Clock::now();
    for (auto &[id, timer] : timers_) {
        if (timer.due + timer.period <= now) {
            timer.due = now + timer.period;
            return Message{kTimerMessage, id, 0};
        }
    }
    return std::nullopt;
}

void MessageQueue::wait() { waitUntil(Clock::time_point::max()); }

bool MessageQueue::waitFor(std::chrono::milliseconds limit) { return waitUntil(Clock::now() + limit); }

bool MessageQueue::waitUntil(Clock::time_point limit) {
    std::unique_lock lock(mutex_);
    while (messages_.empty()) {
        auto wake = limit;
        if (!timers_.empty()) {
            const auto next = std::min_element(timers_.begin(), timers_.end(), [](const auto &a, const auto &b) {
                                  return a.second.due < b.second.due;
                              })->second.due;
            if (next <= Clock::now()) return true;
            wake = std::min(wake, next);
        }
        if (wake == Clock::time_point::max())
            posted_.wait(lock);
        else if (posted_.wait_until(lock, wake) == std::cv_status::timeout && wake == limit && messages_.empty())
            return false;
    }
    return true;
}

uint32_t MessageQueue::setTimer(std::chrono::milliseconds period, TimerCallback callback) {
    std::lock_guard lock(mutex_);
    const uint32_t id = nextTimerId_++;
    timers_.emplace(id, Timer{period, Clock::now() + period, std::move(callback)});
    return id;
}

void MessageQueue::killTimer(uint32_t id) {
    std::lock_guard lock(mutex_);
    timers_.erase(id);
}

void MessageQueue::runTimer(uint32_t id) {
    TimerCallback callback;
    {
        std::lock_guard lock(mutex_);
        auto it = timers_.find(id);
        if (it == timers_.end()) return;
        callback = it->second.callback;
    }
    callback();
}

}  // namespace eng
