#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>

namespace eng {

// Message numbers that the queue itself produces.
inline constexpr uint32_t kQuitMessage = 0x0012;
inline constexpr uint32_t kTimerMessage = 0x0113;

struct Message {
    uint32_t msg = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// The message queue of one engine thread. Any thread may post; only the
// owning thread takes messages, waits and runs timers. Messages are kept in
// the order they were posted; the owner may take the first one of a number
// range ahead of the others. Timers are periodic and fire through the queue:
// a due timer is delivered as kTimerMessage (wParam = timer id) once no
// posted message is waiting before it.
class MessageQueue {
public:
    using TimerCallback = std::function<void()>;

    // Returns false once the queue is closed (its thread has ended).
    bool post(const Message &message);
    void postQuit();
    void close();

    bool hasInRange(uint32_t first, uint32_t last) const;
    std::optional<Message> takeInRange(uint32_t first, uint32_t last);
    // The oldest posted message, or else a timer that is due.
    std::optional<Message> takeNext();
    // A timer that has waited a whole period past its due time because
    // posted messages kept coming first; taken ahead of them so that a busy
    // queue cannot starve its timers.
    std::optional<Message> takeOverdueTimer();
    // Sleeps until a message is posted or the next timer falls due.
    void wait();
    // The same for at most the time given: false when it passed with nothing to take.
    bool waitFor(std::chrono::milliseconds limit);

    uint32_t setTimer(std::chrono::milliseconds period, TimerCallback callback);
    void killTimer(uint32_t id);
    // Runs the callback of a timer delivered by takeNext (nothing if it was killed).
    void runTimer(uint32_t id);

private:
    using Clock = std::chrono::steady_clock;
    struct Timer {
        std::chrono::milliseconds period;
        Clock::time_point due;
        TimerCallback callback;
    };

    std::optional<uint32_t> dueTimerLocked(Clock::time_point now) const;
    bool waitUntil(Clock::time_point limit);

    mutable std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<Message> messages_;
    std::map<uint32_t, Timer> timers_;
    uint32_t nextTimerId_ = 1;
    bool closed_ = false;
};

}  // namespace eng
