#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>

namespace eng {

// A pool of detached worker threads for work that blocks (a download, say):
// a task goes to a thread that has finished its earlier task and waits for
// another, and only when none waits to a new thread, so that a crawl of many
// small files does not pay for a thread per file. A waiting thread that gets
// no task within the idle time ends, and so does every waiting thread when
// the pool object goes. Threads are never joined: a task may block as long as
// it must, and the pool's state lives until the last of its threads has
// ended.
class WorkerThreads {
public:
    static constexpr std::chrono::seconds kIdleTime{10};

    explicit WorkerThreads(std::chrono::milliseconds idleTime = kIdleTime);
    WorkerThreads(const WorkerThreads &) = delete;
    WorkerThreads &operator=(const WorkerThreads &) = delete;
    ~WorkerThreads();

    // Runs the task on a waiting thread, or on a new one when none waits.
    // Throws std::system_error when a thread is needed and cannot be created.
    void run(std::function<void()> task);
    // Threads that have finished their task and wait for another.
    size_t waiting() const;

private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace eng
