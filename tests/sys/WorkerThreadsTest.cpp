#include "sys/WorkerThreads.h"

#include <gtest/gtest.h>

#include <future>
#include <latch>
#include <thread>

using eng::WorkerThreads;

namespace {

// Runs a task that reports its thread and returns that thread's id once
// the task has ended and its thread waits for the next.
std::thread::id runAndSettle(WorkerThreads &pool, size_t waitingAfter) {
    std::promise<std::thread::id> ran;
    pool.run([&ran] { ran.set_value(std::this_thread::get_id()); });
    const std::thread::id id = ran.get_future().get();
    while (pool.waiting() < waitingAfter) std::this_thread::yield();
    return id;
}

}  // namespace

TEST(WorkerThreads, ATaskAfterAnEndedOneRunsOnTheWaitingThread) {
    WorkerThreads pool;
    const std::thread::id first = runAndSettle(pool, 1);
    EXPECT_NE(first, std::this_thread::get_id());
    EXPECT_EQ(runAndSettle(pool, 1), first);
    EXPECT_EQ(runAndSettle(pool, 1), first);
    EXPECT_EQ(pool.waiting(), 1u);
}

TEST(WorkerThreads, ATaskWhileTheOthersBlockGetsAThreadOfItsOwn) {
    WorkerThreads pool;
    std::latch release(1);
    std::latch blocked(2);
    std::promise<std::thread::id> firstId, secondId;
    pool.run([&] {
        firstId.set_value(std::this_thread::get_id());
        blocked.count_down();
        release.wait();
    });
    pool.run([&] {
        secondId.set_value(std::this_thread::get_id());
        blocked.count_down();
        release.wait();
    });
    blocked.wait();  // both run at once: neither waited for the other
    EXPECT_NE(firstId.get_future().get(), secondId.get_future().get());
    EXPECT_EQ(pool.waiting(), 0u);
    release.count_down();
    while (pool.waiting() < 2) std::this_thread::yield();
}
