#include "net/DownloadPool.h"

#include <gtest/gtest.h>

#include <thread>

#include "net/HttpJob.h"
#include "support/JobRunner.h"
#include "support/ScriptedHttpServer.h"
#include "sys/InternetErrors.h"

namespace {

using namespace std::chrono_literals;

class DownloadPoolTest : public ::testing::Test {
protected:
    std::shared_ptr<eng::HttpJob> job(uint32_t urlResId, uint32_t domainKey = 1) {
        auto made = runner.make<eng::HttpJob>(server.url("/r" + std::to_string(urlResId)));
        made->record().urlResId = urlResId;
        made->record().domainKey = domainKey;
        return made;
    }
    // Waits for the next end message of the job and hands it to the pool as
    // the engine would.
    uintptr_t deliverDone(const std::shared_ptr<eng::HttpJob> &expected) {
        const auto done = runner.waitDone(3s);
        EXPECT_TRUE(done.has_value());
        if (!done) return 99;
        EXPECT_EQ(done->lParam, reinterpret_cast<intptr_t>(expected.get()));
        const auto *job = reinterpret_cast<const eng::DownloadJob *>(done->lParam);
        if (done->wParam == 0)
            pool.finished(job);
        else
            pool.threadEnded(job);
        return done->wParam;
    }

    test::ScriptedHttpServer server;
    test::JobRunner runner;
    eng::DownloadPool pool{runner.queue()};
};

TEST_F(DownloadPoolTest, AServerIsFullWhenItsRunningDownloadsReachTheLimit) {
    pool.setMaxPerServer(2);
    pool.add(job(1, 7));
    EXPECT_FALSE(pool.serverFull(7));
    pool.add(job(0, 7));  // belongs to no resource: not counted
    EXPECT_FALSE(pool.serverFull(7));
    pool.add(job(2, 7));
    EXPECT_TRUE(pool.serverFull(7));
    EXPECT_FALSE(pool.serverFull(8));
    EXPECT_EQ(pool.activeCount(), 3u);
}

TEST_F(DownloadPoolTest, APauseKeepsTheSlotForItsSeconds) {
    server.answer(test::httpResponse(200, "OK", "page"));
    pool.setPause(1);
    auto download = job(1);
    pool.launch(download);
    const auto finished = std::chrono::steady_clock::now();
    EXPECT_EQ(deliverDone(download), 0u);
    EXPECT_EQ(pool.activeCount(), 1u);
    ASSERT_TRUE(runner.pumpUntil([&] { return pool.activeCount() == 0; }, 3s));
    EXPECT_GE(std::chrono::steady_clock::now() - finished, 900ms);
    EXPECT_EQ(pool.find(download.get()), nullptr);
}

TEST_F(DownloadPoolTest, AnAbortedJobLivesUntilItsThreadHasEnded) {
    server.silent();
    auto download = job(5);
    pool.launch(download);
    ASSERT_TRUE(server.waitForRequests(1, 3s));
    EXPECT_FALSE(pool.abortResource(6));
    EXPECT_TRUE(pool.abortResource(5));

    EXPECT_EQ(deliverDone(download), 0u);  // the result, posted by the abort itself
    EXPECT_EQ(download->record().errorCode.load(), eng::kErrOperationCancelled);
    EXPECT_EQ(pool.activeCount(), 0u);
    EXPECT_NE(pool.find(download.get()), nullptr);  // waiting for its thread

    EXPECT_EQ(deliverDone(download), 1u);  // the thread has ended
    EXPECT_EQ(pool.find(download.get()), nullptr);
}

TEST_F(DownloadPoolTest, AnAbortedJobWithAPauseGoesWithTheLaterOfTimerAndThreadEnd) {
    server.silent();
    pool.setPause(1);
    auto download = job(5);
    pool.launch(download);
    ASSERT_TRUE(server.waitForRequests(1, 3s));
    pool.abortAll();
    EXPECT_EQ(deliverDone(download), 0u);
    EXPECT_EQ(deliverDone(download), 1u);
    EXPECT_EQ(pool.activeCount(), 1u);  // the pause still holds the slot
    EXPECT_NE(pool.find(download.get()), nullptr);
    ASSERT_TRUE(runner.pumpUntil([&] { return pool.activeCount() == 0; }, 3s));
    EXPECT_EQ(pool.find(download.get()), nullptr);
}

TEST_F(DownloadPoolTest, ShutDownDoesNotWaitForABlockedWorker) {
    server.silent();
    auto download = job(9);
    std::weak_ptr<eng::HttpJob> watch = download;
    pool.launch(std::move(download));
    ASSERT_TRUE(server.waitForRequests(1, 3s));
    const auto closing = std::chrono::steady_clock::now();
    pool.shutdown();
    EXPECT_LT(std::chrono::steady_clock::now() - closing, 1s);
    EXPECT_EQ(pool.activeCount(), 0u);
    // Its thread sees the closed session, ends and lets the job go.
    const auto limit = std::chrono::steady_clock::now() + 2s;
    while (!watch.expired() && std::chrono::steady_clock::now() < limit) std::this_thread::sleep_for(5ms);
    EXPECT_TRUE(watch.expired());
    EXPECT_LT(std::chrono::steady_clock::now() - closing, 1s);
}

}  // namespace
