#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

#include "engine.h"

namespace lark {

// A message posted to a window.
struct Posted {
    uint32_t msg = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// A message taken from the queue, owning its notification payload: released
// when the message ends, handed on when it is moved.
class TakenPost : public Posted {
public:
    explicit TakenPost(const Posted &posted) : Posted(posted) {}
    TakenPost(TakenPost &&other) noexcept : Posted(std::exchange(static_cast<Posted &>(other), Posted{})) {}
    TakenPost &operator=(TakenPost &&) = delete;
    ~TakenPost();
};

// An engine window over a plain thread-safe queue: what the engine posts
// (notifications) is kept until the owner takes it. Every payload is
// released: a taken one when its TakenPost ends, those left in the queue
// when the queue ends.
class WindowQueue {
public:
    WindowQueue();
    WindowQueue(const WindowQueue &) = delete;
    WindowQueue &operator=(const WindowQueue &) = delete;
    ~WindowQueue();

    EngWnd *window() { return &window_.base; }

    // The oldest message, waiting up to the time given for one to arrive.
    std::optional<TakenPost> take(std::chrono::milliseconds wait = std::chrono::milliseconds(0));
    size_t size() const;
    // Makes later posts fail, as a window that no longer exists would.
    void refusePosts();

private:
    struct Window {
        EngWnd base;
        WindowQueue *owner;
    };
    static int post(EngWnd *self, uint32_t msg, uintptr_t wParam, intptr_t lParam);

    Window window_;
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Posted> messages_;
    bool refusing_ = false;
    int waiting_ = 0;  // takers asleep on arrived_
};

}  // namespace lark
