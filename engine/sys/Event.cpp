#include "sys/Event.h"

namespace eng {

Event::Event(Reset reset, bool initiallySet) : reset_(reset), set_(initiallySet) {}

void Event::set() {
    {
        std::lock_guard lock(mutex_);
        set_ = true;
    }
    if (reset_ == Reset::Auto)
        changed_.notify_one();
    else
        changed_.notify_all();
}

void Event::reset() {
    std::lock_guard lock(mutex_);
    set_ = false;
}

void Event::consume() {
    if (reset_ == Reset::Auto) set_ = false;
}

void Event::wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return set_; });
    consume();
}

bool Event::waitFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, timeout, [this] { return set_; })) return false;
    consume();
    return true;
}

}  // namespace eng
