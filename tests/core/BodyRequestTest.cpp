#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "base/UrlHash.h"
#include "base/WaitToken.h"
#include "engine.h"
#include "net/NetworkSettings.h"
#include "support/ConnectionProperties.h"
#include "support/Eventually.h"
#include "support/FreePort.h"
#include "support/OpenProject.h"
#include "support/ScriptedHttpServer.h"
#include "support/TaskRecords.h"

using namespace std::chrono_literals;

namespace {

// An Eng_GetBody answer taken apart.
struct Reply {
    uint32_t status = 0;
    uint32_t mainPage = 0;
    uint32_t urlResId = 0;
    std::string finalAddress, contentType, body;
    uint32_t token = 0;
};

Reply getBody(const std::string &url, uint32_t referrerHash = 0, uint32_t task = 0) {
    void *addr = nullptr;
    uint32_t len = 0;
    Eng_GetBody(url.c_str(), "", referrerHash, task, 0, &addr, &len);
    EXPECT_GE(len, 12u);
    Reply reply;
    const char *at = static_cast<const char *>(addr);
    const auto number = [&] {
        uint32_t value;
        std::memcpy(&value, at, 4);
        at += 4;
        return value;
    };
    const auto text = [&] {
        const uint32_t size = number();
        std::string value(at, size);
        at += size;
        return value;
    };
    reply.status = number();
    reply.mainPage = number();
    if (reply.status != ENG_BODY_PAGE) {
        reply.urlResId = number();
    } else {
        reply.finalAddress = text();
        reply.contentType = text();
        reply.body = text();
        reply.token = number();
    }
    EXPECT_EQ(at, static_cast<const char *>(addr) + len);
    Eng_FreeMem(addr);
    return reply;
}

uint32_t createTask(const std::string &url) {
    EngTaskRecord in = test::taskInput(url.c_str(), 0);
    return static_cast<uint32_t>(Eng_CreateTask(&in));
}

std::string page(const std::string &text) { return test::httpResponse(200, "OK", text, {"Content-Type: text/html"}); }

class BodyRequest : public ::testing::Test {
protected:
    ~BodyRequest() override { eng::NetworkSettings::set(saved_); }

    // Crawls the tasks' addresses to the end, then goes offline.
    void crawl(size_t requests) {
        ASSERT_EQ(Eng_Run(), 0);
        ASSERT_TRUE(server.waitForRequests(requests, 10s));
        ASSERT_TRUE(test::eventually([&] {
            for (const uint32_t task : tasks)
                if (test::taskById(task).raw.state != ENG_TASK_COMPLETE) return false;
            return true;
        }));
        ASSERT_EQ(Eng_Stop(), 0);
    }

    eng::NetworkSettings saved_ = eng::NetworkSettings::current();
    test::ScriptedHttpServer server;
    test::OpenProject project;
    std::vector<uint32_t> tasks;
};

TEST_F(BodyRequest, TheMostRecentRequestIsFetchedFirstAndEveryWaiterWakes) {
    ASSERT_TRUE(test::setConnectionProperties(1, 1));
    server.trickle(page("first, slowly"), 10ms);  // holds the only connection a while
    server.answer(page("second"));
    server.answer(page("third"));
    createTask(server.url("/blocker.html"));
    createTask(server.url("/q1.html"));
    createTask(server.url("/q2.html"));
    ASSERT_EQ(Eng_Run(), 0);
    ASSERT_TRUE(server.waitForRequests(1, 5s));

    const Reply first = getBody(server.url("/q1.html")), second = getBody(server.url("/q2.html"));
    const Reply again = getBody(server.url("/q2.html"));
    for (const Reply *waiting : {&first, &second, &again}) {
        EXPECT_EQ(waiting->status, ENG_BODY_PAGE);
        EXPECT_NE(waiting->token, 0u);
        EXPECT_TRUE(waiting->body.empty());
    }
    EXPECT_FALSE(eng::WaitToken::waitFor(static_cast<int>(first.token), 0));

    ASSERT_TRUE(server.waitForRequests(3, 10s));
    const auto requests = server.requests();
    EXPECT_EQ(requests[1].rfind("GET /q2.html ", 0), 0u) << requests[1];
    EXPECT_EQ(requests[2].rfind("GET /q1.html ", 0), 0u) << requests[2];
    for (const Reply *waiting : {&first, &second, &again}) {
        EXPECT_TRUE(eng::WaitToken::waitFor(static_cast<int>(waiting->token), 5000));
        ::close(static_cast<int>(waiting->token));
    }
    EXPECT_EQ(getBody(server.url("/q2.html")).body, "second");
    EXPECT_EQ(getBody(server.url("/q1.html")).body, "third");
    EXPECT_EQ(Eng_Stop(), 0);
}

TEST_F(BodyRequest, OfflineAPageNothingLinksToBecomesATaskUnlessTheOptionSaysNot) {
    const std::string wanted = server.url("/unlinked.html");
    ASSERT_TRUE(test::setConnectionProperties(2, 2, 0, ENG_OPTION_NO_OFFLINE_ENQUEUE));
    EXPECT_EQ(getBody(wanted).status, ENG_BODY_NOT_AVAILABLE_OFFLINE);

    ASSERT_TRUE(test::setConnectionProperties(2, 2));
    Eng_BeforeNavigate(wanted.c_str(), nullptr);
    const Reply queued = getBody(wanted + "#part");
    EXPECT_EQ(queued.status, ENG_BODY_QUEUED);
    EXPECT_EQ(queued.mainPage, 1u);  // the page the browser navigates to
    EXPECT_NE(queued.urlResId, 0u);
    const auto created = test::taskById(1);
    EXPECT_EQ(created.url, wanted);
    EXPECT_EQ(getBody(server.url("/other.gif")).mainPage, 0u);

    EXPECT_EQ(getBody("").status, ENG_BODY_INVALID_URL);
    EXPECT_EQ(getBody("mailto:someone@example.com").status, ENG_BODY_INVALID_URL);
}

TEST_F(BodyRequest, StoredPagesFailuresAndWhatAPageMayStillAdd) {
    server.answer(page("<html><img src=\"/seen.gif\"></html>"));
    tasks.push_back(createTask(server.url("/page.html")));
    // A download that never reached a server is stored without a body.
    const std::string refused = "http://127.0.0.1:" + std::to_string(test::freePort()) + "/refused.html";
    tasks.push_back(createTask(refused));
    crawl(1);
    const Reply stored = getBody(server.url("/page.html"));
    EXPECT_EQ(stored.status, ENG_BODY_PAGE);
    EXPECT_EQ(stored.contentType, "text/html");
    EXPECT_EQ(stored.body, "<html><img src=\"/seen.gif\"></html>");
    EXPECT_EQ(stored.finalAddress, "");
    EXPECT_EQ(stored.token, 0u);
    EXPECT_EQ(getBody(refused).status, ENG_BODY_NO_DATA);

    // Requests the page's scripts make are recorded as its links and put
    // into the crawl, until the page has made 25 of them.
    const uint32_t referrer = eng::urlHash(server.url("/page.html"));
    for (int i = 0; i <= 25; ++i) {
        const Reply made = getBody(server.url("/made" + std::to_string(i) + ".gif"), referrer);
        ASSERT_EQ(made.status, ENG_BODY_QUEUED) << i;
    }
    EXPECT_EQ(getBody(server.url("/made26.gif"), referrer).status, ENG_BODY_NOT_ACCEPTED);
    EXPECT_EQ(test::taskById(tasks[0]).raw.queued, 26u);
}

TEST_F(BodyRequest, AGeneratedAddressOnASiteThePageAlreadyReachesIsNotAdded) {
    server.answer(page("<html>a page with scripts</html>"));
    tasks.push_back(createTask(server.url("/page.html")));
    crawl(1);
    const uint32_t referrer = eng::urlHash(server.url("/page.html"));
    // The page's first request to another site is taken; it then reaches that site.
    EXPECT_EQ(getBody("http://tracker.test/pixel.gif", referrer).status, ENG_BODY_QUEUED);
    EXPECT_EQ(getBody("http://tracker.test/hit?id=123456789", referrer).status, ENG_BODY_NOT_ACCEPTED);
    EXPECT_EQ(getBody("http://tracker.test/banner/123456789.png", referrer).status, ENG_BODY_QUEUED);  // an image
    EXPECT_EQ(getBody(server.url("/more?id=123456789"), referrer).status, ENG_BODY_QUEUED);            // its own site
    // A page the browser navigates to is no embedded request.
    Eng_BeforeNavigate("http://tracker.test/next?id=987654321", nullptr);
    EXPECT_EQ(getBody("http://tracker.test/next?id=987654321", referrer).status, ENG_BODY_QUEUED);
}

TEST_F(BodyRequest, AStoredRedirectGivesTheWholeFinalAddress) {
    // Longer than the 255 characters the resource's address column keeps.
    const std::string target = server.url("/" + std::string(300, 'x') + ".html");
    server.answer(test::httpResponse(302, "Found", "", {"Location: " + target}));
    server.answer(page("<html>arrived</html>"));
    tasks.push_back(createTask(server.url("/moved.html")));
    crawl(2);
    const Reply reply = getBody(server.url("/moved.html"));
    EXPECT_EQ(reply.status, ENG_BODY_PAGE);
    EXPECT_EQ(reply.body, "<html>arrived</html>");
    EXPECT_EQ(reply.finalAddress, target);
}

TEST_F(BodyRequest, AQueryWithEightBitBytesIsFoundAsTheBrowserEncodesIt) {
    server.answer(page("<html>found</html>"));
    tasks.push_back(createTask(server.url("/s?q=\xD1\x84")));
    crawl(1);
    EXPECT_EQ(getBody(server.url("/s?q=%D1%84")).body, "<html>found</html>");
    EXPECT_EQ(getBody(server.url("/s?q=%d1%84")).body, "<html>found</html>");
}

// The browser gets no local file read for a page from the web, nor for a
// request nothing names; a local file it is sent to becomes a task of its own.
TEST_F(BodyRequest, ALocalFileIsTakenOnlyAsThePageGoneToOrFromALocalPage) {
    server.answer(page("<html><img src=\"file:///etc/hostname\"></html>"));
    tasks.push_back(createTask(server.url("/page.html")));
    crawl(1);
    const uint32_t webPage = eng::urlHash(server.url("/page.html"));
    EXPECT_EQ(getBody("file:///etc/hostname", webPage).status, ENG_BODY_NOT_ACCEPTED);
    EXPECT_EQ(getBody("file:///etc/passwd", webPage).status, ENG_BODY_NOT_ACCEPTED);
    EXPECT_EQ(getBody("file:///etc/passwd").status, ENG_BODY_NOT_ACCEPTED);  // not the page gone to
    Eng_BeforeNavigate("file:///etc/hostname", nullptr);
    EXPECT_EQ(getBody("file:///etc/hostname").status, ENG_BODY_NOT_ACCEPTED);  // the web page's link

    Eng_BeforeNavigate("file:///etc/passwd", nullptr);
    EXPECT_EQ(getBody("file:///etc/passwd").status, ENG_BODY_QUEUED);
    EXPECT_EQ(test::taskById(2).url, "file:///etc/passwd");
}

}  // namespace
