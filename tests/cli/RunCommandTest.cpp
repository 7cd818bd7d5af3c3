#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include "support/ChildProcess.h"
#include "support/ProjectFiles.h"
#include "support/RunLark.h"
#include "support/ScriptedHttpServer.h"
#include "support/TempDir.h"

using namespace std::chrono_literals;

namespace {

std::string fileText(const std::filesystem::path &path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class RunCommandTest : public ::testing::Test {
protected:
    std::string project(const std::string &name = "p.slk") {
        const std::string path = dir.file(name);
        EXPECT_EQ(test::runLark("new " + path).status, 0);
        return path;
    }
    test::TempDir dir;
    test::ScriptedHttpServer server;
};

TEST_F(RunCommandTest, NothingQueuedFinishesAtOnce) {
    const std::string path = project();
    const auto run = test::runLark("run " + path);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(test::contains(run, "finished: done 0  queued 0  errors 0")) << run.output;
}

TEST_F(RunCommandTest, AnAddressNoDownloadCanFetchEndsTheRunAsAnError) {
    const auto run = test::runLark("mirror file:no-slashes.html -o " + dir.file("f.slk") + " --for 20");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(test::contains(run, "finished: done 1  queued 0  errors 1")) << run.output;
}

TEST_F(RunCommandTest, MirrorFetchesAPageAndWhatItLinksTo) {
    server.answer(
        test::httpResponse(200, "OK", "<html><a href=\"next.html\">next</a></html>", {"Content-Type: text/html"}));
    server.answer(test::httpResponse(200, "OK", "<html>the end</html>", {"Content-Type: text/html"}));
    const std::string path = dir.file("m.slk");
    const auto run = test::runLark("mirror " + server.url("/start.html") + " -o " + path + " --depth 1");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(test::contains(run, "finished: done 2  queued 0  errors 0")) << run.output;
    EXPECT_TRUE(test::contains(run, "project " + path)) << run.output;
    EXPECT_EQ(test::queryInteger(path, "SELECT count(*) FROM UrlRes WHERE State = 2 AND StatusCode = 200"), 2);
    EXPECT_EQ(test::queryText(path, "SELECT Queued || ' ' || Retrieved || ' ' || State FROM Tasks"), "0 2 2");

    const auto again = test::runLark("mirror " + server.url("/start.html") + " -o " + path);
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(test::contains(again, "exists already")) << again.output;

    // A task that cannot be made leaves no project behind.
    const std::string refused = dir.file("refused.slk");
    const auto bad = test::runLark("mirror mailto:someone@example.com -o " + refused);
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(test::contains(bad, "cannot make a task")) << bad.output;
    EXPECT_FALSE(std::filesystem::exists(refused));
}

TEST_F(RunCommandTest, MirrorStaysOnTheStartHostUnlessToldToSpanHosts) {
    // "localhost" names the same server under another host name.
    const std::string elsewhere = "http://localhost:" + std::to_string(server.port());
    const std::string start =
        test::httpResponse(200, "OK",
                           "<html><a href=\"next.html\">next</a><a href=\"" + elsewhere +
                               "/other.html\">other</a><img src=\"" + elsewhere + "/pic.gif\"></html>",
                           {"Content-Type: text/html"});
    const std::string leaf = test::httpResponse(200, "OK", "<html>leaf</html>", {"Content-Type: text/html"});
    server.answer(start);
    server.answer(leaf);
    const std::string kept = dir.file("kept.slk");
    const auto run = test::runLark("mirror " + server.url("/start.html") + " -o " + kept + " --depth 1");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(test::contains(run, "finished: done 2  queued 0  errors 0")) << run.output;
    EXPECT_EQ(server.requests().size(), 2u);
    // The links elsewhere are known, but not fetched.
    EXPECT_EQ(test::queryInteger(kept, "SELECT count(*) FROM Items WHERE UrlResId = 0"), 2);

    for (const std::string &answer : {start, leaf, leaf, leaf}) server.answer(answer);
    const std::string spanned = dir.file("spanned.slk");
    const auto wide =
        test::runLark("mirror " + server.url("/start.html") + " -o " + spanned + " --depth 1 --span-hosts");
    EXPECT_EQ(wide.status, 0) << wide.output;
    EXPECT_TRUE(test::contains(wide, "finished: done 4  queued 0  errors 0")) << wide.output;
    EXPECT_EQ(server.requests().size(), 6u);
}

TEST_F(RunCommandTest, CtrlCGoesOfflineAndKeepsTheCutDownloadRefreshable) {
    server.silent();
    const std::string path = project();
    ASSERT_EQ(test::runLark("add " + path + " " + server.url("/slow.html")).status, 0);
    const auto log = dir.path() / "run.log";
    test::ChildProcess lark({LARK_PROGRAM, "run", path}, {.pipeStdout = false, .outputFile = log});
    ASSERT_TRUE(server.waitForRequests(1, 5s));
    ASSERT_EQ(kill(lark.pid(), SIGINT), 0);
    EXPECT_EQ(lark.waitForExit(5s), 130);
    EXPECT_NE(fileText(log).find("interrupted: "), std::string::npos) << fileText(log);
    // Closed cleanly: the file opens, and the download is stored as cut off.
    EXPECT_EQ(test::queryText(path, "SELECT State || ' ' || TcpError || ' ' || LastError FROM UrlRes"), "2 1 12017");
}

TEST_F(RunCommandTest, ForStopsAfterItsSecondsAndOptionsAreChecked) {
    server.silent();
    const std::string path = project();
    ASSERT_EQ(test::runLark("add " + path + " " + server.url("/slow.html")).status, 0);
    const auto started = std::chrono::steady_clock::now();
    const auto run = test::runLark("run " + path + " --for 1 --connections 1 --timeout 30");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(test::contains(run, "stopped: ")) << run.output;
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);

    const auto refused = test::runLark("run " + path + " --connections 0");
    EXPECT_EQ(refused.status, 2) << refused.output;
    EXPECT_EQ(test::runLark("run " + path + " --connections 500").status, 2);
}

}  // namespace
