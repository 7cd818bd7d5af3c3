#include "core/ProgressCounters.h"

#include <gtest/gtest.h>

#include <thread>

#include "WindowQueue.h"
#include "client/RecordRelease.h"
#include "core/Notifier.h"
#include "sys/MessageQueue.h"

using namespace std::chrono_literals;
using eng::CountedUrlRes;
using S = eng::CrawlState;

namespace {

struct Counters {
    lark::WindowQueue window;
    eng::Notifier notifier{window.window()};
    eng::MessageQueue queue;
    eng::ProgressCounters counters{notifier, queue};
};

EngStatisticsRecord takeStatistics(lark::WindowQueue &w) {
    auto p = w.take(0ms);
    EngStatisticsRecord r{};
    EXPECT_TRUE(p);
    if (!p) return r;
    EXPECT_EQ(p->msg, ENG_NOTIFY_STATISTICS);
    EXPECT_EQ(p->wParam, sizeof r);
    r = eng::client::recordAt<EngStatisticsRecord>(eng::client::notificationPayload(p->msg, p->wParam, p->lParam), 0)
            .value_or(r);
    return r;
}

}  // namespace

TEST(ProgressCounters, StateChangeRules) {
    Counters c;
    auto &k = c.counters;
    EXPECT_TRUE(k.inserted({S::Queued, false}).changed);
    EXPECT_TRUE(k.inserted({S::Downloading, false}).changed);
    EXPECT_FALSE(k.inserted({S::Suspended, false}).changed);
    EXPECT_FALSE(k.inserted({S::Done, false}).changed);
    EXPECT_EQ(k.queued(), 2u);

    k.changed({S::Downloading, false}, {S::Queued, false});  // no rule: nothing counts
    EXPECT_EQ(k.queued(), 2u);
    k.changed({S::Done, true}, {S::Downloading, false});  // finished with an error
    EXPECT_EQ(k.queued(), 1u);
    EXPECT_EQ(k.done(), 1u);
    EXPECT_EQ(k.errors(), 1u);
    k.changed({S::Queued, false}, {S::Done, true});  // queued again, error cleared
    EXPECT_EQ(k.queued(), 2u);
    EXPECT_EQ(k.errors(), 0u);
    k.changed({S::Suspended, false}, {S::Queued, false});
    EXPECT_EQ(k.queued(), 1u);
    auto abort = k.changed({S::Suspended, false}, {S::Downloading, false});
    EXPECT_TRUE(abort.abortDownload);
    EXPECT_EQ(k.queued(), 0u);
    EXPECT_EQ(k.done(), 2u);

    auto deleted = k.deleted({S::Downloading, true});
    EXPECT_TRUE(deleted.abortDownload);
    EXPECT_FALSE(k.deleted({S::Done, false}).changed);
    // Counts never wrap below zero.
    EXPECT_EQ(k.queued(), 0u);
    EXPECT_EQ(k.errors(), 0u);
    k.setCounts(5, 0, 0);
    k.suspended(3);
    EXPECT_EQ(k.queued(), 2u);
    k.suspended(9);
    EXPECT_EQ(k.queued(), 0u);
}

TEST(ProgressCounters, StatisticsArithmetic) {
    Counters c;
    c.counters.setCounts(10, 4, 1);
    c.counters.downloadStarted();
    c.counters.addReceived(1000, true);
    c.counters.addReceived(500, false);
    c.counters.postStatistics();
    EngStatisticsRecord r = takeStatistics(c.window);
    // The records are packed: "+" compares a copy of a field, which a reference could not reach aligned.
    EXPECT_EQ(+r.bytesReceived, 1500u);
    EXPECT_EQ(+r.bytesLastSecond, 1000u);
    EXPECT_EQ(+r.averageSpeed, 1500u);  // elapsed below a second counts as one
    EXPECT_EQ(+r.queued, 10u);
    EXPECT_EQ(+r.done, 4u);
    EXPECT_EQ(+r.errors, 1u);
    EXPECT_GE(+r.elapsedTime, 0.0);
    EXPECT_LT(+r.elapsedTime, 1.0 / 86400);
    EXPECT_EQ(+r.remainingTime, 0.0);  // whole elapsed seconds: none yet
}

TEST(ProgressCounters, TimerPostsEverySecondAndStopsWithAFinalRecord) {
    Counters c;
    c.counters.downloadStarted();
    EXPECT_TRUE(c.counters.timerRunning());
    c.counters.addReceived(300, true);
    std::this_thread::sleep_for(1050ms);
    auto timer = c.queue.takeNext();
    ASSERT_TRUE(timer);
    ASSERT_EQ(timer->msg, eng::kTimerMessage);
    c.queue.runTimer(static_cast<uint32_t>(timer->wParam));
    EngStatisticsRecord tick = takeStatistics(c.window);
    EXPECT_EQ(tick.bytesLastSecond, 300u);
    EXPECT_EQ(tick.averageSpeed, 300u);
    EXPECT_GE(tick.elapsedTime * 86400, 1.0);

    c.counters.stopTimer();
    EXPECT_FALSE(c.counters.timerRunning());
    EngStatisticsRecord last = takeStatistics(c.window);
    EXPECT_EQ(last.bytesLastSecond, 0u);  // the tick started a new second
    EXPECT_EQ(last.bytesReceived, 300u);
}

TEST(Notifier, NullWindowPostsNothingAndRefusedPostsReleaseThePayload) {
    eng::Notifier none(nullptr);
    bool built = false;
    none.post(ENG_NOTIFY_STATISTICS, [&](eng::MemoryStream &) { built = true; });
    EXPECT_FALSE(built);

    lark::WindowQueue window;
    window.refusePosts();
    eng::Notifier refused(window.window());
    // Run under a leak checker: the buffer and the string are released.
    refused.post(ENG_NOTIFY_TASK_CHANGED, [](eng::MemoryStream &s) { s.writeStrRef("lost"); });
    EXPECT_EQ(window.size(), 0u);
}

TEST(ProgressCounters, ResetProgressKeepsOnlyTheQueuedCount) {
    Counters c;
    c.counters.setCounts(7, 3, 2);
    c.counters.addReceived(5000, true);
    c.counters.resetProgress();
    const EngStatisticsRecord r = takeStatistics(c.window);
    EXPECT_EQ(+r.queued, 7u);
    EXPECT_EQ(+r.done, 0u);
    EXPECT_EQ(+r.errors, 0u);
    EXPECT_EQ(+r.bytesReceived, 0u);
    EXPECT_EQ(+r.averageSpeed, 0u);
}
