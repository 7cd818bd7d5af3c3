#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "engine.h"
#include "net/NetworkSettings.h"
#include "support/ConnectionProperties.h"
#include "support/Eventually.h"
#include "support/OpenProject.h"
#include "support/ProjectFiles.h"
#include "support/ScriptedHttpServer.h"
#include "support/TaskRecords.h"

using namespace std::chrono_literals;

namespace {

uint32_t createTask(const std::string &url, uint32_t depth = 0) {
    EngTaskRecord in = test::taskInput(url.c_str(), depth);
    return static_cast<uint32_t>(Eng_CreateTask(&in));
}

size_t requestsForHost(const test::ScriptedHttpServer &server, const std::string &host) {
    size_t count = 0;
    for (const auto &request : server.requests())
        if (request.find("\r\nHost: " + host + ":") != std::string::npos) ++count;
    return count;
}

// Restores the process-wide network settings that a project's properties set.
class CrawlTest : public ::testing::Test {
protected:
    ~CrawlTest() override { eng::NetworkSettings::set(saved_); }
    eng::NetworkSettings saved_ = eng::NetworkSettings::current();
};

}  // namespace

TEST_F(CrawlTest, AHostAtItsLimitIsPassedOverForTheNextHost) {
    test::ScriptedHttpServer server;
    for (int i = 0; i < 6; ++i) server.silent();
    test::OpenProject project;
    ASSERT_TRUE(test::setConnectionProperties(4, 2, 0));
    // Two host names for the same server: two hosts to the scheduler.
    for (const char *host : {"127.0.0.1", "localhost"})
        for (int i = 0; i < 3; ++i)
            createTask("http://" + std::string(host) + ":" + std::to_string(server.port()) + "/p" + std::to_string(i));
    ASSERT_EQ(Eng_Run(), 0);
    EXPECT_EQ(Eng_IsOnline(), 1);
    ASSERT_TRUE(server.waitForRequests(4, 5s));
    std::this_thread::sleep_for(200ms);  // no fifth may follow
    EXPECT_EQ(server.requests().size(), 4u);
    EXPECT_EQ(requestsForHost(server, "127.0.0.1"), 2u);
    EXPECT_EQ(requestsForHost(server, "localhost"), 2u);
}

TEST_F(CrawlTest, AServerErrorIsRetriedWithFallingPriorityUntilTheRetriesAreUsed) {
    test::ScriptedHttpServer server;
    for (int i = 0; i < 4; ++i) server.answer(test::httpResponse(503, "Service Unavailable", "busy"));
    test::OpenProject project;
    ASSERT_TRUE(test::setConnectionProperties(2, 2, 3));
    const uint32_t task = createTask(server.url("/busy"));
    ASSERT_EQ(Eng_Run(), 0);
    ASSERT_TRUE(test::eventually([&] { return test::taskById(task).raw.state == ENG_TASK_COMPLETE; }));
    EXPECT_EQ(server.requests().size(), 4u);
    EXPECT_EQ(test::taskById(task).raw.retrieved, 1u);
    Eng_CloseProject();
    EXPECT_EQ(test::queryText(project.path(),
                              "SELECT Retries || ' ' || Priority || ' ' || StatusCode || ' ' || Error || ' ' || "
                              "TcpError || ' ' || State FROM UrlRes"),
              "3 -3 503 1 0 2");
}

TEST_F(CrawlTest, AbortConnectionCancelsOneDownloadAndCloseLetsBlockedOnesGo) {
    test::ScriptedHttpServer server;
    server.silent();
    server.silent();
    auto project = std::make_unique<test::OpenProject>();
    ASSERT_TRUE(test::setConnectionProperties(2, 2, 5));
    const uint32_t first = createTask(server.url("/first"));
    createTask(server.url("/second"));
    ASSERT_EQ(Eng_Run(), 0);
    ASSERT_TRUE(server.waitForRequests(2, 5s));
    const uint32_t resource = 1;  // the first task's start resource in a new project
    Eng_AbortConnection(resource);
    ASSERT_TRUE(test::eventually([&] { return test::taskById(first).raw.state == ENG_TASK_COMPLETE; }));
    EXPECT_EQ(server.requests().size(), 2u);  // cancelled: not retried

    const auto closing = std::chrono::steady_clock::now();
    Eng_CloseProject();  // the second download still waits on its silent server
    EXPECT_LT(std::chrono::steady_clock::now() - closing, 1s);
    const std::string path = project->path();
    EXPECT_EQ(test::queryText(path,
                              "SELECT StatusCode || ' ' || Error || ' ' || TcpError || ' ' || State || ' ' || "
                              "LastError FROM UrlRes WHERE UrlResId = " +
                                  std::to_string(resource)),
              "499 1 0 2 12017");
    EXPECT_EQ(test::queryInteger(path, "SELECT State FROM UrlRes WHERE UrlResId <> " + std::to_string(resource)), 4);
}

TEST_F(CrawlTest, GoingOfflineAbortsEveryDownloadAsARefreshableTransportError) {
    test::ScriptedHttpServer server;
    for (int i = 0; i < 5; ++i) server.silent();
    test::OpenProject project;
    ASSERT_TRUE(test::setConnectionProperties(5, 5, 3));
    for (int i = 0; i < 5; ++i) createTask(server.url("/page" + std::to_string(i)));
    ASSERT_EQ(Eng_Run(), 0);
    ASSERT_TRUE(server.waitForRequests(5, 5s));
    ASSERT_EQ(Eng_Stop(), 0);
    EXPECT_EQ(Eng_IsOnline(), 0);
    ASSERT_TRUE(test::eventually([] { return Eng_CountRefreshable(2) == 5; }));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(server.requests().size(), 5u);  // none retried
    EXPECT_EQ(Eng_CountRefreshable(1), 0);
    Eng_CloseProject();
    EXPECT_EQ(test::queryInteger(project.path(),
                                 "SELECT count(*) FROM UrlRes WHERE State = 2 AND TcpError AND "
                                 "LastError = 12017 AND Retries = 0"),
              5);
    EXPECT_GT(test::queryInteger(project.path(), "SELECT OnlineTime > 0 FROM Project"), 0);

    // Refreshing the transport errors queues them again (to wait: offline).
    ASSERT_EQ(Eng_OpenProject(project.path().c_str(), nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(Eng_RefreshPrj(2), 1);
    EXPECT_EQ(Eng_CountRefreshable(2), 0);
    Eng_CloseProject();
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT count(*) FROM UrlRes WHERE State = 3"), 5);
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT sum(Queued) FROM Tasks"), 5);
}

TEST_F(CrawlTest, InterruptedDownloadsAreQueuedAgainAtTheNextOpen) {
    test::ScriptedHttpServer server;
    server.silent();
    test::OpenProject project;
    createTask(server.url("/slow"));
    ASSERT_EQ(Eng_Run(), 0);
    ASSERT_TRUE(server.waitForRequests(1, 5s));
    Eng_CloseProject();  // cuts the download off
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT State FROM UrlRes"), 4);

    ASSERT_EQ(Eng_OpenProject(project.path().c_str(), nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(Eng_IsOnline(), 0);  // every project opens offline
    Eng_CloseProject();
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT State FROM UrlRes"), 3);
}

TEST_F(CrawlTest, ProjectTimeoutBecomesTheNetworkTimeouts) {
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
}

TEST_F(CrawlTest, AnAddressNoDownloadCanFetchIsSettledAsFailedOnce) {
    test::OpenProject project;
    const uint32_t task = createTask("file:no-slashes.html");
    ASSERT_GT(task, 0u);
    ASSERT_EQ(Eng_Run(), 0);
    ASSERT_TRUE(test::eventually([&] { return test::taskById(task).raw.state == ENG_TASK_COMPLETE; }));
    EXPECT_EQ(test::taskById(task).errorText, "The URL does not use a recognized protocol.");
    Eng_CloseProject();
    EXPECT_EQ(test::queryText(project.path(),
                              "SELECT State || ' ' || Error || ' ' || LastError || ' ' || Retries "
                              "FROM UrlRes"),
              "2 1 12006 0");
}

TEST_F(CrawlTest, ARedirectWithABodyIsStoredAsTheRedirectPageWithoutError) {
    test::ScriptedHttpServer server;
    server.answer(test::httpResponse(301, "Moved Permanently", "<html>moved to there</html>",
                                     {"Location: /there.html", "Content-Type: text/html"}));
    server.answer(test::httpResponse(200, "OK", "<html>here</html>", {"Content-Type: text/html"}));
    test::OpenProject project;
    ASSERT_TRUE(test::setConnectionProperties(2, 2, 3));
    const uint32_t task = createTask(server.url("/here.html"), 1);
    ASSERT_EQ(Eng_Run(), 0);
    ASSERT_TRUE(test::eventually([&] { return test::taskById(task).raw.state == ENG_TASK_COMPLETE; }));
    EXPECT_EQ(server.requests().size(), 2u);  // not retried
    Eng_CloseProject();
    EXPECT_EQ(test::queryText(project.path(),
                              "SELECT StatusCode || ' ' || Error || ' ' || TcpError || ' ' || Retries "
                              "|| ' ' || ContentType FROM UrlRes WHERE UrlResId = 1"),
              "301 0 0 0 text/html");
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT count(*) FROM UrlRes WHERE State = 2 AND NOT Error"), 2);
}
