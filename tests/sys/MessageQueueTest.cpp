#include "sys/MessageQueue.h"

#include <gtest/gtest.h>

#include <thread>

#include "sys/Event.h"

using namespace std::chrono_literals;
using eng::Message;
using eng::MessageQueue;

TEST(MessageQueue, TakesFromARangeAheadOfOlderMessages) {
    MessageQueue q;
    q.post({32769, 1, 0});
    q.post({40000, 0, 0});
    q.post({32769, 2, 0});
    q.post({32771, 0, 0});
    q.post({32770, 0, 0});
    EXPECT_TRUE(q.hasInRange(32770, 33769));
    EXPECT_EQ(q.takeInRange(32770, 33769)->msg, 32771u);  // first of the range, in posting order
    EXPECT_EQ(q.takeInRange(32770, 33769)->msg, 32770u);
    EXPECT_FALSE(q.takeInRange(32770, 33769));
    EXPECT_EQ(q.takeInRange(32769, 32769)->wParam, 1u);
    EXPECT_EQ(q.takeNext()->msg, 40000u);
    EXPECT_EQ(q.takeNext()->wParam, 2u);
    EXPECT_FALSE(q.takeNext());
}

TEST(MessageQueue, TimersFireThroughTheQueueAfterPostedMessages) {
    MessageQueue q;
    int fired = 0;
    const uint32_t id = q.setTimer(20ms, [&] { ++fired; });
    std::this_thread::sleep_for(30ms);
    q.post({32800, 0, 0});
    EXPECT_EQ(q.takeNext()->msg, 32800u);  // posted work before a due timer
    auto timer = q.takeNext();
    ASSERT_TRUE(timer);
    EXPECT_EQ(timer->msg, eng::kTimerMessage);
    q.runTimer(static_cast<uint32_t>(timer->wParam));
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(q.takeNext());  // not due again yet
    q.wait();                    // returns when the timer falls due
    EXPECT_TRUE(q.takeNext());
    q.killTimer(id);
    q.runTimer(id);  // a killed timer's pending delivery does nothing
    EXPECT_EQ(fired, 1);
}

TEST(MessageQueue, WaitWakesOnAPostFromAnotherThreadAndClosedQueueRefuses) {
    MessageQueue q;
    std::thread poster([&] {
        std::this_thread::sleep_for(20ms);
        EXPECT_TRUE(q.post({32769, 0, 0}));
    });
    q.wait();
    EXPECT_TRUE(q.takeNext());
    poster.join();
    q.close();
    EXPECT_FALSE(q.post({32769, 0, 0}));
}

TEST(Event, AutoResetLetsOneWaiterThroughPerSet) {
    eng::Event e(eng::Event::Reset::Auto);
    EXPECT_FALSE(e.waitFor(1ms));
    e.set();
    EXPECT_TRUE(e.waitFor(1ms));
    EXPECT_FALSE(e.waitFor(1ms));
    eng::Event manual(eng::Event::Reset::Manual);
    manual.set();
    EXPECT_TRUE(manual.waitFor(1ms));
    EXPECT_TRUE(manual.waitFor(1ms));
    manual.reset();
    EXPECT_FALSE(manual.waitFor(1ms));
}

TEST(MessageQueue, ATimerStarvedByMessagesForAWholePeriodIsOverdue) {
    eng::MessageQueue queue;
    const uint32_t timer = queue.setTimer(std::chrono::milliseconds(20), [] {});
    EXPECT_FALSE(queue.takeOverdueTimer());
    std::this_thread::sleep_for(std::chrono::milliseconds(25));  // due, but not a period late
    EXPECT_FALSE(queue.takeOverdueTimer());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto late = queue.takeOverdueTimer();
    ASSERT_TRUE(late);
    EXPECT_EQ(late->msg, eng::kTimerMessage);
    EXPECT_EQ(late->wParam, timer);
    EXPECT_FALSE(queue.takeOverdueTimer());  // rescheduled a period on
}
