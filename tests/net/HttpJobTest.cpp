#include "net/HttpJob.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <iostream>
#include <thread>

#include "support/FreePort.h"
#include "support/JobRunner.h"
#include "support/PeakMemory.h"
#include "support/ScriptedHttpServer.h"
#include "sys/InternetErrors.h"

namespace {

using namespace std::chrono_literals;
using test::httpResponse;

class HttpJobTest : public ::testing::Test {
protected:
    std::shared_ptr<eng::HttpJob> job(const std::string &path, eng::CredentialsPrompt prompt = {}) {
        return runner.make<eng::HttpJob>(server.url(path), std::move(prompt));
    }
    std::string hostLine() const { return "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n"; }
    std::string firstRequest() const {
        const auto requests = server.requests();
        return requests.empty() ? std::string() : requests.front();
    }

    test::ScriptedHttpServer server;
    test::JobRunner runner;
};

// A body without end stops at the limit of what can be kept: the job reads
// no further, drops what it had and says why.
TEST_F(HttpJobTest, ABodyWithoutEndStopsAtTheLimitOfWhatCanBeKept) {
    constexpr uint64_t kLimit = 3 << 20;
    server.routeEndless("/endless", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n",
                        "1000\r\n" + std::string(4096, 'z') + "\r\n");
    auto download = job("/endless");
    download->record().bodyLimit = kLimit;
    const auto &record = runner.run(*download);
    EXPECT_TRUE(record.bodyTooLarge);
    EXPECT_EQ(record.errorCode.load(), static_cast<uint32_t>(EFBIG));
    EXPECT_TRUE(record.body.empty());
    EXPECT_GT(record.received, kLimit);
    EXPECT_LE(record.received, kLimit + 4096);
    EXPECT_TRUE(record.failed());
    EXPECT_FALSE(record.networkError());  // not to be tried again
}

// A large body goes to a file as it arrives: the download holds little of it
// in memory.
TEST_F(HttpJobTest, ALargeBodyIsKeptInAFileNotInMemory) {
    constexpr size_t kSize = 64 << 20;
    std::string bytes(kSize, '\0');
    for (size_t i = 0; i < kSize; ++i) bytes[i] = static_cast<char>(i * 2654435761u >> 24);
    server.answer(httpResponse(200, "OK", bytes));
    auto download = job("/large");
    const test::PeakGrowth growth;
    const auto &record = runner.run(*download);
    const size_t peak = growth.bytes();
    std::cout << "64 MiB download: peak memory +" << (peak >> 20) << " MiB\n";
    if (test::kMemoryMeasurable) {
        EXPECT_LT(peak, 16u << 20);
    }
    EXPECT_TRUE(record.body.spooled());
    EXPECT_TRUE(record.body.text() == bytes);
}

// The rest of a resumed body counts after the part stored before; a whole
// body sent instead counts alone.
TEST_F(HttpJobTest, TheLimitCountsThePartStoredBeforeOnlyForTheRestOfAResumedBody) {
    const std::string rest(3 << 19, 'r');
    server.answer(httpResponse(206, "Partial Content", rest, {"Content-Range: bytes 1048576-2621439/2621440"}));
    server.answer(httpResponse(200, "OK", rest));
    for (const bool partial : {true, false}) {
        auto download = job("/resumed");
        download->record().resumeOffset = 1 << 20;
        download->record().bodyLimit = 2 << 20;
        const auto &record = runner.run(*download);
        EXPECT_EQ(record.bodyTooLarge, partial);
        EXPECT_EQ(record.body.size(), partial ? 0 : rest.size());
    }
}

TEST_F(HttpJobTest, GetSendsExactlyTheRequestLineAndHeaders) {
    server.answer(httpResponse(200, "OK", "<html>hello</html>",
                               {"Content-Type: Text/HTML; charset=UTF-8", "Server: scripted/1",
                                "Last-Modified: Wed, 09 Dec 2026 10:00:00 GMT"}));
    auto download = job("/a/b.html?x=1&y=%20z");
    const auto &record = runner.run(*download);

    EXPECT_EQ(firstRequest(),
              "GET /a/b.html?x=1&y=%20z HTTP/1.0\r\n" + hostLine() +
                  "User-Agent: LarkTest/1.0\r\nAccept: */*\r\nAccept-Encoding:;\r\nConnection: Keep-Alive\r\n\r\n");
    EXPECT_EQ(record.errorCode.load(), 0u);
    EXPECT_EQ(record.statusCode, 200u);
    EXPECT_EQ(record.statusText, "OK");
    EXPECT_EQ(record.httpVersion, "HTTP/1.0");
    EXPECT_EQ(record.contentType, "text/html; charset=utf-8");
    EXPECT_EQ(record.server, "scripted/1");
    EXPECT_EQ(record.lastModified, "Wed, 09 Dec 2026 10:00:00 GMT");
    EXPECT_EQ(record.body.text(), "<html>hello</html>");
    EXPECT_EQ(record.contentLength, record.body.size());
    EXPECT_EQ(record.state, eng::DownloadRecord::Finished);
    EXPECT_FALSE(record.networkError());
    EXPECT_FALSE(record.failed());

    // Started, head read (receiving), one chunk; the received bytes add up.
    const auto reports = runner.progress().reports();
    ASSERT_GE(reports.size(), 3u);
    EXPECT_EQ(reports.front().state, eng::DownloadRecord::ThreadStarted);
    EXPECT_EQ(reports[1].state, eng::DownloadRecord::Receiving);
    EXPECT_EQ(reports.back().received, record.body.size());
}

TEST_F(HttpJobTest, PostSendsFormDataWithItsContentTypeAndTheReferer) {
    server.answer(httpResponse(200, "OK", "done"));
    auto download = job("/form");
    download->record().postData = "a=1&b=two";
    download->record().referer = "http://example.test/page.html";
    runner.run(*download);

    EXPECT_EQ(firstRequest(), "POST /form HTTP/1.0\r\n" + hostLine() +
                                  "User-Agent: LarkTest/1.0\r\nAccept: */*\r\nAccept-Encoding:;\r\n"
                                  "Content-Type: application/x-www-form-urlencoded\r\n"
                                  "Referer: http://example.test/page.html\r\nConnection: Keep-Alive\r\n"
                                  "Content-Length: 9\r\n\r\na=1&b=two");
}

TEST_F(HttpJobTest, ResumeAsksForTheRestAndNeverSendsIfModifiedSinceWithIt) {
    server.answer(
        "HTTP/1.0 206 Partial Content\r\nContent-Range: bytes 100-109/110\r\nContent-Length: 10\r\n\r\n0123456789");
    auto download = job("/big.bin");
    download->record().resumeOffset = 100;
    download->record().lastModified = "Wed, 09 Dec 2026 10:00:00 GMT";
    const auto &record = runner.run(*download);

    EXPECT_EQ(firstRequest(), "GET /big.bin HTTP/1.0\r\n" + hostLine() +
                                  "User-Agent: LarkTest/1.0\r\nAccept: */*\r\nAccept-Encoding:;\r\n"
                                  "Range:bytes=100-\r\nConnection: Keep-Alive\r\n\r\n");
    EXPECT_EQ(record.statusCode, 206u);
    EXPECT_EQ(record.resumeOffset, 100u);
    EXPECT_EQ(record.body.size(), 10u);
    EXPECT_FALSE(record.networkError());
}

TEST_F(HttpJobTest, AWholeAnswerToAResumeDropsTheOffset) {
    server.answer(httpResponse(200, "OK", "the whole resource"));
    auto download = job("/big.bin");
    download->record().resumeOffset = 5;
    const auto &record = runner.run(*download);
    EXPECT_EQ(record.resumeOffset, 0u);
    EXPECT_EQ(record.body.size(), 18u);
}

TEST_F(HttpJobTest, RefreshSendsIfModifiedSinceAndANotModifiedAnswerIsNoError) {
    server.answer("HTTP/1.0 304 Not Modified\r\n\r\n");
    auto download = job("/page.html");
    download->record().lastModified = "Wed, 09 Dec 2026 10:00:00 GMT";
    const auto &record = runner.run(*download);

    EXPECT_EQ(firstRequest(), "GET /page.html HTTP/1.0\r\n" + hostLine() +
                                  "User-Agent: LarkTest/1.0\r\nAccept: */*\r\n"
                                  "If-Modified-Since: Wed, 09 Dec 2026 10:00:00 GMT\r\nAccept-Encoding:;\r\n"
                                  "Connection: Keep-Alive\r\n\r\n");
    EXPECT_EQ(record.statusCode, 304u);
    EXPECT_TRUE(record.body.empty());
    EXPECT_EQ(record.errorCode.load(), 0u);
    EXPECT_FALSE(record.networkError());
    EXPECT_FALSE(record.failed());
}

TEST_F(HttpJobTest, AnEmptyOkIsAResetConnection) {
    server.answer("HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n");
    auto download = job("/empty");
    const auto &record = runner.run(*download);
    EXPECT_EQ(record.errorCode.load(), eng::kErrConnectionReset);
    EXPECT_TRUE(record.networkError());
}

TEST_F(HttpJobTest, SizeFilterAcceptsALengthWithinItsBounds) {
    server.answer(httpResponse(200, "OK", std::string(5000, 'x')));
    auto download = job("/fits");
    download->record().minSize = 1000;
    download->record().maxSize = 10000;
    const auto &record = runner.run(*download);
    EXPECT_EQ(record.statusCode, 200u);
    EXPECT_EQ(record.body.size(), 5000u);
    EXPECT_FALSE(record.networkError());
}

TEST_F(HttpJobTest, SizeFilterRejectsAnAnnouncedLengthAndABodyThatOutgrowsTheMaximum) {
    const std::string rejection =
        "This resource is not accepted, because it not fulfil requirements of the size filter.";
    server.answer(httpResponse(200, "OK", std::string(20000, 'x')));
    auto announced = job("/announced");
    announced->record().minSize = 1000;
    announced->record().maxSize = 10000;
    const auto &first = runner.run(*announced);
    EXPECT_EQ(first.statusCode, 406u);
    EXPECT_EQ(first.contentType, "text/html");
    EXPECT_EQ(first.body.text(), rejection);
    EXPECT_FALSE(first.networkError());
    EXPECT_TRUE(first.failed());

    // No Content-Length: the body is counted as it arrives and cut off.
    server.answer("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + std::string(50000, 'y'));
    auto growing = job("/growing");
    growing->record().maxSize = 10000;
    const auto &second = runner.run(*growing);
    EXPECT_EQ(second.statusCode, 406u);
    EXPECT_EQ(second.body.text(), rejection);
    EXPECT_GT(second.received, 10000u);
    EXPECT_FALSE(second.networkError());
}

TEST_F(HttpJobTest, RedirectLocationsBecomeAbsoluteAndCanonical) {
    server.answer(httpResponse(302, "Found", "", {"Location: ../c/./d.html?q=1#part"}));
    auto redirect = job("/a/b/x.html");
    EXPECT_EQ(runner.run(*redirect).location, server.url("/a/c/d.html?q=1"));

    server.answer(httpResponse(200, "OK", "body", {"Location: Next.HTML"}));
    auto located = job("/a/b/x.html");
    const auto &record = runner.run(*located);
    EXPECT_EQ(record.statusCode, 200u);
    EXPECT_EQ(record.location, server.url("/a/b/Next.HTML"));
}

// The worker scans a fetched page or style sheet for the engine: the links
// against the page's address, and a page's title and refresh target. A
// redirect's body, which the engine replaces, and other types are not scanned.
TEST_F(HttpJobTest, PagesAndStyleSheetsAreScannedOnTheWorker) {
    server.answer(httpResponse(200, "OK",
                               "<html><head><title>Welcome</title>"
                               "<meta http-equiv=\"refresh\" content=\"5;URL=next.html\"></head>"
                               "<body><a href=\"../x.html\">x</a><img src=\"i.gif\"></body></html>",
                               {"Content-Type: text/html"}));
    server.answer(httpResponse(200, "OK", "p { background: url(bg.png) }", {"Content-Type: text/css"}));
    server.answer(
        httpResponse(302, "Found", "<a href=\"y.html\">y</a>", {"Content-Type: text/html", "Location: /moved.html"}));
    server.answer(httpResponse(200, "OK", "<a href=\"z.html\">z</a>", {"Content-Type: text/plain"}));

    auto pageJob = job("/d/page.html");
    const auto &page = runner.run(*pageJob);
    ASSERT_TRUE(page.scanned);
    EXPECT_EQ(page.scanned->title, "Welcome");
    EXPECT_EQ(page.scanned->refresh, server.url("/d/next.html"));
    std::vector<std::string> urls;
    for (const eng::PageLink &link : page.scanned->links) urls.push_back(link.url);
    EXPECT_NE(std::find(urls.begin(), urls.end(), server.url("/x.html")), urls.end());
    EXPECT_NE(std::find(urls.begin(), urls.end(), server.url("/d/i.gif")), urls.end());

    auto sheetJob = job("/d/style.css");
    const auto &sheet = runner.run(*sheetJob);
    ASSERT_TRUE(sheet.scanned);
    ASSERT_EQ(sheet.scanned->links.size(), 1u);
    EXPECT_EQ(sheet.scanned->links[0].url, server.url("/d/bg.png"));
    EXPECT_EQ(sheet.scanned->title, "");

    auto redirectJob = job("/d/old.html");
    EXPECT_FALSE(runner.run(*redirectJob).scanned);
    auto textJob = job("/d/notes.txt");
    EXPECT_FALSE(runner.run(*textJob).scanned);
}

TEST_F(HttpJobTest, ChallengeRealmIsTakenFromTheQuotesInTheServersCase) {
    server.answer(httpResponse(401, "Unauthorized", "no", {"WWW-Authenticate: Basic REALM=\"Private Area\""}));
    auto quoted = job("/secret");
    const auto &first = runner.run(*quoted);
    EXPECT_EQ(first.realm, "Private Area");
    EXPECT_EQ(first.statusCode, 401u);
    EXPECT_TRUE(first.failed());
    EXPECT_EQ(server.requests().size(), 1u);  // no prompt: no retry

    server.answer(httpResponse(401, "Unauthorized", "no", {"WWW-Authenticate: Negotiate"}));
    auto bare = job("/secret");
    EXPECT_EQ(runner.run(*bare).realm, "");
}

TEST_F(HttpJobTest, CredentialsAreRetriedThreeTimesThenTheChallengeStands) {
    for (int i = 0; i < 4; ++i)
        server.answer(httpResponse(401, "Unauthorized", "no", {"WWW-Authenticate: Basic realm=\"lark\""}));
    std::vector<uint32_t> retries;
    auto download = job("/secret", [&retries](eng::DownloadRecord &record, uint32_t retry, const std::string &server,
                                              eng::PromptCancel &) {
        EXPECT_EQ(server, "127.0.0.1");
        EXPECT_EQ(record.realm, "lark");
        retries.push_back(retry);
        record.userName = "user";
        record.password = "pass" + std::to_string(retry);
        return true;
    });
    const auto &record = runner.run(*download);
    EXPECT_EQ(record.statusCode, 401u);
    EXPECT_EQ(retries, (std::vector<uint32_t>{0, 1, 2}));
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[0].find("Authorization:"), std::string::npos);
    EXPECT_NE(requests[1].find("Authorization: Basic dXNlcjpwYXNzMA==\r\n"), std::string::npos);  // user:pass0
    EXPECT_NE(requests[3].find("Authorization: Basic dXNlcjpwYXNzMg==\r\n"), std::string::npos);  // user:pass2
}

TEST_F(HttpJobTest, ACutTransferIsANetworkError) {
    server.answer("HTTP/1.0 200 OK\r\nContent-Length: 5000\r\n\r\n" + std::string(100, 'z'));
    auto download = job("/cut");
    const auto &record = runner.run(*download);
    EXPECT_EQ(record.contentLength, 5000u);
    EXPECT_EQ(record.body.size(), 100u);
    EXPECT_TRUE(record.networkError());
}

TEST_F(HttpJobTest, ASilentServerTimesOutWithinTheSetSeconds) {
    test::ScopedNetworkSettings settings({.receiveTimeoutSeconds = 1, .sendTimeoutSeconds = 1, .connectRetries = 5});
    server.silent();
    auto download = job("/silent");
    const auto started = std::chrono::steady_clock::now();
    const auto &record = runner.run(*download);
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(record.errorCode.load(), eng::kErrTimeout);
    EXPECT_TRUE(record.networkError());
    EXPECT_GE(took, 900ms);
    EXPECT_LT(took, 5s);
}

TEST_F(HttpJobTest, ARefusedPortAndAnUnknownHostAreNetworkErrors) {
    auto refused = runner.make<eng::HttpJob>("http://127.0.0.1:" + std::to_string(test::freePort()) + "/");
    const auto &first = runner.run(*refused);
    EXPECT_EQ(first.errorCode.load(), eng::kErrCannotConnect);
    EXPECT_TRUE(first.networkError());

    // A label longer than 63 characters fails in the local resolver, before
    // any name server is asked.
    auto unknown = runner.make<eng::HttpJob>("http://" + std::string(70, 'a') + ".invalid/");
    const auto &second = runner.run(*unknown);
    EXPECT_EQ(second.errorCode.load(), eng::kErrNameNotResolved);
    EXPECT_TRUE(second.networkError());
}

TEST_F(HttpJobTest, AbortPostsTheResultAtOnceAndTheThreadEndLater) {
    server.silent();
    auto download = job("/silent");
    ASSERT_TRUE(download->start(runner.threads()));
    ASSERT_TRUE(server.waitForRequests(1, 5s));
    EXPECT_TRUE(download->abort(1));
    EXPECT_FALSE(download->abort(1));  // already finished: nothing more

    const auto first = runner.waitDone(1s);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->wParam, 0u);
    EXPECT_EQ(download->record().errorCode.load(), eng::kErrOperationCancelled);
    EXPECT_EQ(download->record().aborted, 1u);
    EXPECT_FALSE(download->record().networkError());
    EXPECT_TRUE(download->record().failed());

    const auto ended = runner.waitDone(1s);
    ASSERT_TRUE(ended.has_value());
    EXPECT_EQ(ended->wParam, 1u);
}

TEST_F(HttpJobTest, AnAbortedJobLeavesItsRecordToTheEngine) {
    server.trickle(
        "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 3000\r\n\r\n" + std::string(3000, 't'), 1ms);
    auto download = job("/trickle");
    ASSERT_TRUE(download->start(runner.threads()));
    const auto &record = download->record();
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (runner.progress().reports().empty() || runner.progress().reports().back().received < 100) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline);
        std::this_thread::sleep_for(2ms);
    }
    ASSERT_TRUE(download->abort(1));
    // What the engine reads of an aborted record stays as it was at the abort,
    // while the worker winds down.
    const size_t kept = record.body.size();
    const uint32_t status = record.statusCode;
    const auto done = runner.waitDone(2s);
    ASSERT_TRUE(done && done->wParam == 0);
    const auto ended = runner.waitDone(2s);
    ASSERT_TRUE(ended && ended->wParam == 1);
    EXPECT_EQ(record.body.size(), kept);
    EXPECT_GT(kept, 0u);
    EXPECT_EQ(record.statusCode, status);
    EXPECT_EQ(record.errorCode.load(), eng::kErrOperationCancelled);
}

}  // namespace
