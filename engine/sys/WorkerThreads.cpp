#include "sys/WorkerThreads.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

namespace eng {

struct WorkerThreads::State {
    explicit State(std::chrono::milliseconds idle) : idleTime(idle) {}

    // Serves tasks on the calling thread, the given one first, until no
    // task comes within the idle time.
    static void serve(const std::shared_ptr<State> &state, std::function<void()> task) {
        // What a task holds is let go when it ends, not when the next one comes.
        for (; task; task = state->next()) std::exchange(task, nullptr)();
    }

    std::function<void()> next() {
        std::unique_lock guard(lock);
        ++waiting;
        wake.wait_for(guard, idleTime, [this] { return !tasks.empty() || closed; });
        --waiting;
        if (tasks.empty()) return nullptr;
        std::function<void()> task = std::move(tasks.front());
        tasks.pop_front();
        return task;
    }

    const std::chrono::milliseconds idleTime;
    mutable std::mutex lock;
    std::condition_variable wake;
    // Tasks handed to waiting threads that have not taken them yet: never
    // more than there are waiting threads.
    std::deque<std::function<void()>> tasks;
    size_t waiting = 0;
    // The pool object has gone: waiting threads end.
    bool closed = false;
};

WorkerThreads::WorkerThreads(std::chrono::milliseconds idleTime) : state_(std::make_shared<State>(idleTime)) {}

WorkerThreads::~WorkerThreads() {
    std::lock_guard guard(state_->lock);
    state_->closed = true;
    state_->wake.notify_all();
}

void WorkerThreads::run(std::function<void()> task) {
    bool handed = false;
    {
        std::lock_guard guard(state_->lock);
        if (state_->waiting > state_->tasks.size()) {
            state_->tasks.push_back(std::move(task));
            handed = true;
        }
    }
    // Woken after the lock is free, the thread need not wait for it.
    if (handed) {
        state_->wake.notify_one();
        return;
    }
    std::thread([state = state_, first = std::move(task)]() mutable {
        State::serve(state, std::move(first));
    }).detach();
}

size_t WorkerThreads::waiting() const {
    std::lock_guard guard(state_->lock);
    return state_->waiting - state_->tasks.size();
}

}  // namespace eng
