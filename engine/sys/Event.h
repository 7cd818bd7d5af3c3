#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace eng {

// A signal that threads wait for: auto-reset events let exactly one waiter
// through per set(); manual-reset events stay set until reset().
class Event {
public:
    enum class Reset { Auto, Manual };

    explicit Event(Reset reset, bool initiallySet = false);
    Event(const Event &) = delete;
    Event &operator=(const Event &) = delete;

    void set();
    void reset();
    void wait();
    // Returns true when the event was set within the time, false on time-out.
    bool waitFor(std::chrono::milliseconds timeout);

private:
    void consume();  // called with the lock held once the event is set

    const Reset reset_;
    bool set_;
    std::mutex mutex_;
    std::condition_variable changed_;
};

}  // namespace eng
