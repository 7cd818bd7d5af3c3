// The "kiv:" handler through its C interface, against a project that lark
// crawled from a small site served by nginx: stored redirects, status pages,
// links delivered as offline addresses, and requests that wait for a page
// being downloaded.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <thread>

#include "OpenedProject.h"
#include "RecordBuffer.h"
#include "WindowQueue.h"
#include "base/UrlHash.h"
#include "engine.h"
#include "kiv.h"
#include "support/ConnectionProperties.h"
#include "support/NginxServer.h"
#include "support/RunLark.h"
#include "support/TempDir.h"

using namespace std::chrono_literals;

namespace {

constexpr int kChain = 11;  // redirects in a row, one more than are followed
uint16_t nginxPort = 0;

void writeFile(const std::filesystem::path &path, const std::string &text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string html(const std::string &head, const std::string &body) {
    return "<html><head>" + head + "</head><body>" + body + "</body></html>";
}

// nginx lines: three redirects to the target, a chain of eleven, and pages
// that take a while.
std::string redirects() {
    std::string config;
    for (int k = 1; k <= 3; ++k)
        config += "        location = /hop" + std::to_string(k) + ".html { return 301 " +
                  (k < 3 ? "/hop" + std::to_string(k + 1) + ".html" : std::string("/target.html")) + "; }\n";
    for (int k = 0; k < kChain; ++k)
        config += "        location = /c" + std::to_string(k) + ".html { return 302 /c" + std::to_string(k + 1) +
                  ".html; }\n";
    return config + "        location /slow/ { limit_rate 2k; }\n";
}

void writeSite(const std::filesystem::path &root) {
    writeFile(root / "main.html", html("<title>main</title>",
                                       "<a href=\"hop1.html\">hop</a><a href=\"c0.html\">chain</a>"
                                       "<a href=\"wait5.html\">5</a><a href=\"wait0.html\">0</a>"
                                       "<a href=\"links/index.html\">links</a><a href=\"base.html\">base</a>"));
    writeFile(root / "target.html", html("", "the target page"));
    writeFile(root / ("c" + std::to_string(kChain) + ".html"), html("", "end of the chain"));
    writeFile(root / "wait5.html",
              html("<meta http-equiv=\"refresh\" content=\"5;URL=target.html\">", "read this first"));
    writeFile(root / "wait0.html", html("<meta http-equiv=\"refresh\" content=\"0;URL=target.html\">", "moving"));
    writeFile(root / "links/index.html",
              html("<link rel=\"stylesheet\" href=\"style.css\">",
                   "<a href=\"page.html\">1</a><a href=\"../target.html\">2</a><a href=\"?q=1\">3</a>"
                   "<a href=\"#top\">4</a><a href=\"/target.html\">5</a><a href=\"javascript:go()\">6</a>"
                   "<a href=\"page.html?x=1#part\">7</a><img src=\"pic.gif\">"
                   "<img srcset=\"pic.gif 1x, big/pic2.gif 2x\"><div style=\"background:url(tile.png)\">"));
    writeFile(root / "links/page.html", html("", "a page"));
    writeFile(root / "links/style.css", "@import 'more.css';\nbody { background: url(\"back.png\") }");
    writeFile(root / "base.html", html("<base href=\"/links/\">", "<a href=\"page.html\">in links</a>"));
    writeFile(root / "slow/a.html", html("", std::string(3000, 'a')));
    writeFile(root / "slow/b.html", html("", std::string(6000, 'b')));
}

// What a handler reported, and the data it then gave.
class Reports {
public:
    KivSink sink() {
        return KivSink{this,
                       [](void *self, uint32_t status, const char *text) {
                           auto &r = *static_cast<Reports *>(self);
                           std::lock_guard guard(r.lock_);
                           (status == KIV_STATUS_REDIRECTING   ? r.redirect
                            : status == KIV_STATUS_STATUS_PAGE ? r.statusPage
                                                               : r.mimeType) = text;
                           ++r.count_;
                       },
                       [](void *self, uint32_t flags, uint32_t progress, uint32_t maximum) {
                           auto &r = *static_cast<Reports *>(self);
                           std::lock_guard guard(r.lock_);
                           r.dataFlags = flags;
                           r.size = maximum;
                           ++r.count_;
                       },
                       [](void *self, int32_t result, uint32_t) {
                           auto &r = *static_cast<Reports *>(self);
                           std::lock_guard guard(r.lock_);
                           r.result_ = result;
                           ++r.count_;
                           r.ended_.notify_all();
                       }};
    }
    std::optional<int32_t> result(std::chrono::milliseconds limit = 10s) {
        std::unique_lock guard(lock_);
        ended_.wait_for(guard, limit, [this] { return result_.has_value(); });
        return result_;
    }
    int count() {
        std::lock_guard guard(lock_);
        return count_;
    }

    std::string redirect, mimeType, statusPage;
    uint32_t dataFlags = 0, size = 0;

private:
    std::mutex lock_;
    std::condition_variable ended_;
    std::optional<int32_t> result_;
    int count_ = 0;
};

// One request through the handler.
struct Request {
    explicit Request(const std::string &offlineAddress) : handler(Kiv_CreateHandler()) {
        started = Kiv_Start(handler, offlineAddress.c_str(), 0, nullptr, 0, &sink);
    }
    ~Request() { Kiv_ReleaseHandler(handler); }
    std::string body() {
        std::string all;
        char buffer[1000];
        uint32_t read = 0;
        while (Kiv_Read(handler, buffer, sizeof buffer, &read) == KIV_S_OK) all.append(buffer, read);
        return all;
    }

    Reports reports;
    KivSink sink = reports.sink();
    KivHandler *handler;
    int32_t started;
};

std::string keyOf(const std::string &path) {
    return std::to_string(static_cast<int32_t>(eng::urlHash("http://127.0.0.1:" + std::to_string(nginxPort) + path)));
}

// Waits until the address has been downloaded.
bool stored(const std::string &path) {
    const auto end = std::chrono::steady_clock::now() + 20s;
    for (; std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(20ms)) {
        const std::string address = "http://127.0.0.1:" + std::to_string(nginxPort) + path;
        const auto found = eng::client::receiveRecords<eng::client::ItemResource>(Eng_FreeMem, Eng_GetItemFromUrl,
                                                                                  address.c_str(), "", 0u, 0.0);
        if (const auto pair = found.first(); pair && pair->resource.state == ENG_STATE_DONE) return true;
    }
    return false;
}

size_t openDescriptors() {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}

class KivHandlerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        site_ = std::make_unique<test::TempDir>();
        writeSite(site_->path());
        test::NginxServer::Options options;
        options.extraServerConfig = redirects();
        nginx_ = std::make_unique<test::NginxServer>(site_->path(), options);
        nginxPort = nginx_->port();
        project_ = site_->file("site.slk");
        const auto crawled = test::runLark("mirror " + nginx_->url("/main.html") + " -o " + project_ + " --depth 20");
        ASSERT_EQ(crawled.status, 0) << crawled.output;
        ASSERT_EQ(Kiv_Register(nullptr), 1);
    }
    static void TearDownTestSuite() {
        nginx_.reset();
        site_.reset();
    }

    void SetUp() override { opened_ = std::make_unique<lark::OpenedProject>(project_, window_.window()); }
    void TearDown() override { opened_.reset(); }

    static std::string url(const std::string &path) { return nginx_->url(path); }
    static std::string offline(const std::string &path, int32_t key = 0) {
        return "kiv:" + std::to_string(key) + ":09-12-2026-12-00-00:0:" + url(path);
    }
    // A request for the page the browser navigates to, run to its end.
    static std::unique_ptr<Request> browse(const std::string &path) {
        Eng_BeforeNavigate(url(path).c_str(), nullptr);
        auto request = std::make_unique<Request>(offline(path));
        EXPECT_EQ(request->started, KIV_S_OK);
        EXPECT_EQ(request->reports.result(), KIV_S_OK);
        return request;
    }

    static std::unique_ptr<test::TempDir> site_;
    static std::unique_ptr<test::NginxServer> nginx_;
    static std::string project_;
    lark::WindowQueue window_;
    std::unique_ptr<lark::OpenedProject> opened_;
};

std::unique_ptr<test::TempDir> KivHandlerTest::site_;
std::unique_ptr<test::NginxServer> KivHandlerTest::nginx_;
std::string KivHandlerTest::project_;

TEST_F(KivHandlerTest, StoredRedirectsAreFollowedUpToTen) {
    auto hops = browse("/hop1.html");
    EXPECT_EQ(hops->body(), html("", "the target page"));
    EXPECT_EQ(hops->reports.redirect, offline("/target.html"));
    EXPECT_EQ(hops->reports.mimeType, "text/html");
    EXPECT_EQ(hops->reports.dataFlags, KIV_DATA_LAST_NOTIFICATION | KIV_DATA_FULLY_AVAILABLE);
    EXPECT_EQ(hops->reports.statusPage, "");

    // The chain's start is eleven redirects from its end.
    auto chain = browse("/c0.html");
    EXPECT_NE(chain->body().find("Too many redirects"), std::string::npos);
    EXPECT_EQ(chain->reports.redirect, "");
    auto shorter = browse("/c1.html");
    EXPECT_EQ(shorter->body(), html("", "end of the chain"));
}

TEST_F(KivHandlerTest, ARefreshThatWaitsIsShownAndOneThatDoesNotIsFollowed) {
    auto waits = browse("/wait5.html");
    EXPECT_NE(waits->body().find("read this first"), std::string::npos);
    EXPECT_EQ(waits->reports.redirect, "");
    auto moves = browse("/wait0.html");
    EXPECT_EQ(moves->body(), html("", "the target page"));
    EXPECT_EQ(moves->reports.redirect, offline("/target.html"));
}

TEST_F(KivHandlerTest, DeliveredLinksAreOfflineAddresses) {
    auto page = browse("/links/index.html");
    const std::string body = page->body();
    // Links are keyed by the page that holds them.
    const std::string prefix = "kiv:" + keyOf("/links/index.html") + ":09-12-2026-12-00-00:0:";
    for (const std::string &expected :
         {"href=\"" + prefix + url("/links/page.html") + "\"", "href=\"" + prefix + url("/target.html") + "\"",
          "href=\"" + prefix + url("/links/index.html?q=1") + "\"", "href=\"" + offline("/links/index.html") + "#top\"",
          std::string("href=\"javascript:go()\""), "href=\"" + prefix + url("/links/page.html?x=1#part") + "\"",
          "src=\"" + prefix + url("/links/pic.gif") + "\"",
          "<link rel=\"stylesheet\" href=\"" + prefix + url("/links/style.css") + "\">",
          "srcset=\"" + prefix + url("/links/pic.gif") + " 1x, " + prefix + url("/links/big/pic2.gif") + " 2x\"",
          "style=\"background:url(" + prefix + url("/links/tile.png") + ")\""})
        EXPECT_NE(body.find(expected), std::string::npos) << expected << "\nin " << body;
    EXPECT_EQ(body.find("href=\"/target.html\""), std::string::npos);

    // A style sheet's references become offline addresses too.
    Request sheet("kiv:0:09-12-2026-12-00-00:0:" + url("/links/style.css"));
    ASSERT_EQ(sheet.reports.result(), KIV_S_OK);
    EXPECT_EQ(sheet.reports.mimeType, "text/css");
    const std::string sheetPrefix = "kiv:" + keyOf("/links/style.css") + ":09-12-2026-12-00-00:0:";
    EXPECT_EQ(sheet.body(), "@import '" + sheetPrefix + url("/links/more.css") + "';\nbody { background: url(\"" +
                                sheetPrefix + url("/links/back.png") + "\") }");

    // A BASE becomes the page's own offline address for its href, so links
    // under it are keyed by this page.
    auto based = browse("/base.html");
    const std::string withBase = based->body();
    const std::string basePrefix = "kiv:" + keyOf("/base.html") + ":09-12-2026-12-00-00:0:";
    EXPECT_NE(withBase.find("<base href=\"" + basePrefix + url("/links/") + "\">"), std::string::npos) << withBase;
    EXPECT_NE(withBase.find("href=\"" + basePrefix + url("/links/page.html") + "\""), std::string::npos) << withBase;
}

TEST_F(KivHandlerTest, AddressesAndLinksThatAreNoOfflineAddresses) {
    Request capitals("KIV:0:09-12-2026-12-00-00:0:" + url("/target.html"));
    EXPECT_EQ(capitals.started, KIV_E_INVALID_URL);
    Request fewFields("kiv:0:09-12-2026-12-00-00");
    EXPECT_EQ(fewFields.started, KIV_E_INVALID_URL);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(capitals.reports.count(), 0);

    Request badDate("kiv:0:yesterday:0:" + url("/target.html"));
    ASSERT_EQ(badDate.started, KIV_S_OK);
    EXPECT_EQ(badDate.reports.result(), KIV_E_FAIL);

    char combined[256];
    uint32_t length = 0;
    const std::string base = offline("/links/index.html");
    ASSERT_EQ(Kiv_CombineUrl(base.c_str(), "javascript:history.back()", combined, sizeof combined, &length), KIV_S_OK);
    EXPECT_STREQ(combined, "javascript:history.back()");
    ASSERT_EQ(Kiv_CombineUrl(base.c_str(), "page.html?a=1#b", combined, sizeof combined, &length), KIV_S_OK);
    EXPECT_TRUE(std::string(combined).ends_with(url("/links/page.html?a=1#b"))) << combined;
    EXPECT_EQ(Kiv_CombineUrl(base.c_str(), "page.html", combined, 8, &length), KIV_S_FALSE);
    EXPECT_EQ(length, std::string(combined).size() - 6);
    EXPECT_EQ(Kiv_CombineUrl("http://example.com/", "page.html", combined, sizeof combined, &length), KIV_E_FAIL);
}

TEST_F(KivHandlerTest, OfflineAMissingPageIsQueuedUnlessTheOptionSaysNot) {
    auto queued = browse("/nowhere.html");
    const std::string page = queued->body();
    EXPECT_NE(page.find("The page is queued"), std::string::npos);
    EXPECT_NE(page.find("window.external.DeleteItem("), std::string::npos);
    EXPECT_EQ(queued->reports.statusPage, "4");  // so the program knows the page is its own
    EXPECT_EQ(page.find("DeleteItem(0)"), std::string::npos);

    // An embedded request gets no status page, only its type.
    Request embedded(offline("/nowhere.gif"));
    ASSERT_EQ(embedded.reports.result(), KIV_S_OK);
    EXPECT_EQ(embedded.reports.mimeType, "text/html");
    EXPECT_EQ(embedded.body(), "");
    EXPECT_EQ(embedded.reports.statusPage, "");

    ASSERT_TRUE(test::setConnectionProperties(2, 2, 0, ENG_OPTION_NO_OFFLINE_ENQUEUE));
    auto refused = browse("/elsewhere.html");
    EXPECT_NE(refused->body().find("The page is not available offline"), std::string::npos);
    ASSERT_TRUE(test::setConnectionProperties(2, 2));
}

TEST_F(KivHandlerTest, ARequestWaitsForItsPageAndAnAbortedOneReportsNothingAndLeaksNothing) {
    ASSERT_EQ(Eng_Run(), 0);
    Request waiting(offline("/slow/a.html"));
    ASSERT_EQ(waiting.started, KIV_S_OK);
    ASSERT_EQ(waiting.reports.result(20s), KIV_S_OK);
    EXPECT_EQ(waiting.body(), html("", std::string(3000, 'a')));
    EXPECT_EQ(waiting.reports.size, html("", std::string(3000, 'a')).size());

    const size_t descriptors = openDescriptors();
    {
        Request aborted(offline("/slow/b.html"));
        ASSERT_EQ(aborted.started, KIV_S_OK);
        std::this_thread::sleep_for(300ms);  // long enough to be waiting; either way it must end quietly
        const auto before = std::chrono::steady_clock::now();
        EXPECT_EQ(Kiv_Abort(aborted.handler), KIV_S_OK);
        EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);  // the page takes three
        EXPECT_EQ(Kiv_Terminate(aborted.handler), KIV_S_OK);
        EXPECT_EQ(aborted.reports.count(), 0);
    }
    // Once the engine has stored the page, nothing of the request is left.
    ASSERT_TRUE(stored("/slow/b.html"));
    EXPECT_EQ(Eng_Stop(), 0);
    EXPECT_EQ(openDescriptors(), descriptors);
}

}  // namespace
