#pragma once

#include <functional>
#include <mutex>

namespace eng {

// Lets an abort close the prompt that a worker thread waits on. The worker
// names how its open prompt is closed; an abort runs that (or, when no
// prompt is open yet, makes the next one answer Cancel before it opens).
class PromptCancel {
public:
    // Aborts: closes the open prompt, and every later one at once.
    void cancel() {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
        if (close_) close_();
    }
    bool cancelled() const {
        std::lock_guard lock(mutex_);
        return cancelled_;
    }
    // A prompt opens, closed by `close` when an abort comes; false (and
    // nothing kept) when the abort came already. `close` runs under a lock
    // and must not wait for the prompt.
    bool open(std::function<void()> close) {
        std::lock_guard lock(mutex_);
        if (cancelled_) return false;
        close_ = std::move(close);
        return true;
    }
    // The open prompt was answered.
    void closed() {
        std::lock_guard lock(mutex_);
        close_ = nullptr;
    }

private:
    mutable std::mutex mutex_;
    bool cancelled_ = false;
    std::function<void()> close_;
};

}  // namespace eng
