#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "api/engine.h"
#include "core/Engine.h"
#include "core/EngineRegistry.h"
#include "net/DownloadJobFactory.h"
#include "net/DownloadPool.h"
#include "net/NetworkSettings.h"
#include "support/OpenProject.h"
#include "support/ScriptedHttpServer.h"
#include "sys/InternetErrors.h"

using namespace std::chrono_literals;

namespace {

// A message number that no engine command uses: the test's own "start a download".
constexpr uint32_t kTestStartDownload = 33700;

struct Processed {
    std::atomic<uint32_t> count{0};
    std::atomic<uint32_t> urlResId{0};
    std::atomic<uint32_t> errorCode{0};
};

template <class Predicate>
bool eventually(Predicate condition, std::chrono::milliseconds limit = 5s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(5ms);
    return condition();
}

// Default commands, plus one that launches a download of the address for the
// URL resource id in lParam and records what the engine processes.
eng::CommandTable commandsStarting(const std::string &url, Processed &processed) {
    auto table = eng::defaultCommandTable();
    table.set(kTestStartDownload,
              eng::CommandEntry{[url, &processed](eng::DispatchContext &c) -> intptr_t {
                                    c.engine.setDownloadProcessor([&processed](eng::DownloadJob &job) {
                                        processed.urlResId = job.record().urlResId;
                                        processed.errorCode = job.record().errorCode.load();
                                        ++processed.count;
                                    });
                                    auto job = eng::createDownloadJob(url, {}, c.engine.jobContext());
                                    job->record().url = url;
                                    job->record().urlResId = static_cast<uint32_t>(c.message.lParam);
                                    job->record().accessType = 1;
                                    c.engine.downloads().launch(job);
                                    return 0;
                                },
                                eng::CommandEntry::Caller::Internal, eng::CommandEntry::Frame::None});
    return table;
}

void startDownload(uint32_t urlResId) {
    ASSERT_TRUE(eng::EngineRegistry::instance().withEngine([&](eng::Engine &engine) {
        engine.queue().post({kTestStartDownload, 0, urlResId});
    }));
}

// The progress records posted for a resource, released as they are read.
std::vector<EngDownloadProgressRecord> progressOf(lark::WindowQueue &window, uint32_t urlResId,
                                                  std::string *firstUrl = nullptr) {
    std::vector<EngDownloadProgressRecord> found;
    while (auto posted = window.take()) {
        if (posted->msg == ENG_NOTIFY_PROGRESS && posted->wParam == sizeof(EngDownloadProgressRecord)) {
            EngDownloadProgressRecord record;
            std::memcpy(&record, reinterpret_cast<const void *>(posted->lParam), sizeof record);
            if (record.urlResId == urlResId) {
                if (firstUrl && found.empty()) *firstUrl = record.url;
                found.push_back(record);
            }
        }
        lark::releaseNotification(*posted);
    }
    return found;
}

}  // namespace

TEST(DownloadCommands, AbortConnectionEndsADownloadAsCancelledAndCloseDoesNotWaitForBlockedOnes) {
    test::ScriptedHttpServer server;
    server.silent();
    server.silent();
    Processed processed;
    auto project = std::make_unique<test::OpenProject>(commandsStarting(server.url("/slow"), processed));
    ASSERT_EQ(project->openResult(), 0);

    startDownload(42);
    startDownload(43);
    ASSERT_TRUE(server.waitForRequests(2, 5s));
    Eng_AbortConnection(42);
    ASSERT_TRUE(eventually([&] { return processed.count == 1; }));
    EXPECT_EQ(processed.urlResId, 42u);
    EXPECT_EQ(processed.errorCode, eng::kErrOperationCancelled);
    Eng_AbortConnection(7);  // nothing runs for it: nothing happens

    std::string url;
    const auto reports = progressOf(project->notifications(), 42, &url);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front().state, ENG_DOWNLOAD_STARTED);
    EXPECT_EQ(url, server.url("/slow"));

    // Download 43 still waits on its silent server; closing lets it go.
    const auto closing = std::chrono::steady_clock::now();
    Eng_CloseProject();
    EXPECT_LT(std::chrono::steady_clock::now() - closing, 1s);
    EXPECT_EQ(processed.count, 1u);
    project.reset();
}

TEST(DownloadCommands, ProjectTimeoutBecomesTheNetworkTimeouts) {
    const auto saved = eng::NetworkSettings::current();
    test::OpenProject project;
    ASSERT_EQ(project.openResult(), 0);
    EngProjectProps props{};
    props.timeout = 17;
    props.maxConnections = 3;
    props.maxPerServer = 1;
    props.note = props.filter = props.userText = const_cast<char *>("");
    ASSERT_EQ(Eng_SetProjectProp(&props, sizeof props), 1);
    const auto now = eng::NetworkSettings::current();
    EXPECT_EQ(now.receiveTimeoutSeconds, 17u);
    EXPECT_EQ(now.sendTimeoutSeconds, 17u);
    EXPECT_EQ(now.connectRetries, 5u);
    eng::NetworkSettings::set(saved);
}
