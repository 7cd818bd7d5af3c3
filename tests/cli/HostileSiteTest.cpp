// A site that attacks the crawler that mirrors it: links to a local file, a
// device and a FIFO, an endless body, a page in a single-byte charset with
// raw non-ASCII links, a page with 100,000 links and a long address behind a
// redirect. Mirrored with lark, then shown through the "kiv:" handler (lark
// cat): the process survives with bounded memory, no local file is read, and
// every legitimate page is stored.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iostream>

#include "support/ChildProcess.h"
#include "support/DamagedFiles.h"
#include "support/PeakMemory.h"
#include "support/ProjectFiles.h"
#include "support/RunLark.h"
#include "support/ScriptedHttpServer.h"
#include "support/TempDir.h"

using namespace std::chrono_literals;

namespace {

// Peak memory allowed to the mirroring process, whatever the site sends.
constexpr long kPeakRssLimitKb = 200 * 1024;
constexpr int kManyLinks = 100000;

std::string html(const std::string &body, const std::string &charset = "") {
    return test::httpResponse(200, "OK", body,
                              {"Content-Type: text/html" + (charset.empty() ? "" : "; charset=" + charset)});
}

class HostileSite : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(secret_) << kSecret;
        ASSERT_EQ(mkfifo(fifo_.c_str(), 0600), 0);
        server_.route("/index.html", html("<html><title>Hostile</title><img src=\"file://" + secret_ +
                                          "\"><img src=\"file:///dev/zero\"><a href=\"file://" + fifo_ +
                                          "\">pipe</a><a href=\"endless.bin\">endless</a><a href=\"cp1251.html\">cp</a>"
                                          "<a href=\"level1.html\">deeper</a><a href=\"moved.html\">moved</a></html>"));
        server_.routeEndless("/endless.bin", "HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\n\r\n",
                             std::string(1 << 16, 'z'));
        // "Файлы" and a link to "файл-2.html", written in windows-1251.
        server_.route("/cp1251.html", html("<html><title>\xD4\xE0\xE9\xEB\xFB</title>"
                                           "<a href=\"\xF4\xE0\xE9\xEB-2.html\">next</a></html>",
                                           "windows-1251"));
        // Requested with the path in UTF-8, percent-encoded.
        server_.route("/%d1%84%d0%b0%d0%b9%d0%bb-2.html", html("<html>the second file</html>"));
        server_.route("/level1.html", html("<html><a href=\"many.html\">many</a></html>"));
        std::string many = "<html><title>Many</title>";
        for (int i = 0; i < kManyLinks; ++i) many += "<a href=\"/deep/" + std::to_string(i) + ".html\">.</a>\n";
        server_.route("/many.html", html(many + "</html>"));
        server_.route("/moved.html", test::httpResponse(302, "Found", "", {"Location: " + longPath_}));
        server_.route(longPath_, html("<html>arrived at the long address</html>"));
    }

    // Mirrors the site to depth 2 (the 100,000 links are one level deeper).
    void mirror() {
        const auto log = dir_.path() / "mirror.log";
        test::ChildProcess lark({LARK_PROGRAM, "mirror", server_.url("/index.html"), "-o", project_, "--depth", "2"},
                                {.pipeStdout = false, .outputFile = log});
        const std::optional<int> status = lark.waitForExit(120s);
        if (!status) lark.stop();
        ASSERT_EQ(status, 0) << test::fileBytes(log.string());
        ASSERT_TRUE(lark.peakRssKb());
        peakRssKb_ = *lark.peakRssKb();
        std::cout << "mirror of the hostile site: peak RSS " << peakRssKb_ / 1024 << " MiB\n"
                  << test::fileBytes(log.string()).substr(0, 2000) << '\n';
    }

    long long storedCount(const std::string &url) {
        return test::queryInteger(project_,
                                  "SELECT count(*) FROM UrlRes WHERE StatusCode = 200 AND ResId <> 0 AND "
                                  "Url = '" +
                                      url + "'");
    }

    const std::string kSecret = "the local secret that no page may read";
    test::TempDir dir_;
    test::ScriptedHttpServer server_;
    const std::string secret_ = dir_.file("secret.txt");
    const std::string fifo_ = dir_.file("pipe");
    const std::string project_ = dir_.file("hostile.slk");
    const std::string longPath_ = "/" + std::string(300, 'l') + ".html";
    long peakRssKb_ = 0;
};

TEST_F(HostileSite, IsMirroredSafelyWithBoundedMemoryAndEveryLegitimatePageStored) {
    mirror();
    if (test::kMemoryMeasurable) {
        EXPECT_LT(peakRssKb_, kPeakRssLimitKb);
    }

    // No local file was read: not into the project, not through the handler.
    EXPECT_EQ(test::fileBytes(project_).find(kSecret), std::string::npos);
    EXPECT_EQ(test::queryInteger(project_, "SELECT count(*) FROM UrlRes WHERE Url LIKE 'file:%' AND ResId <> 0"), 0);
    const test::LarkResult local = test::runLark("cat " + project_ + " file://" + secret_);
    EXPECT_EQ(local.output.find(kSecret), std::string::npos) << local.output;

    // The endless body was cut off and stored nothing.
    EXPECT_EQ(test::queryInteger(project_,
                                 "SELECT count(*) FROM UrlRes WHERE Url LIKE '%/endless.bin' AND ResId = 0 "
                                 "AND Error <> 0"),
              1);

    // Every legitimate page is stored, the raw windows-1251 link requested in UTF-8.
    for (const std::string page : {"/index.html", "/cp1251.html", "/level1.html", "/many.html"})
        EXPECT_EQ(storedCount(server_.url(page)), 1) << page;
    EXPECT_EQ(storedCount(server_.url("/\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB-2.html")), 1);
    EXPECT_EQ(test::queryInteger(project_, "SELECT count(*) FROM UrlRes WHERE StatusCode = 200 AND Url LIKE '%/lll%'"),
              1);
    EXPECT_EQ(test::queryInteger(project_,
                                 "SELECT count(*) FROM Rel r JOIN UrlRes u ON u.ResId = r.ResId WHERE "
                                 "u.Url LIKE '%/many.html'"),
              kManyLinks);
    EXPECT_EQ(test::queryText(project_, "SELECT Title FROM UrlRes WHERE Url LIKE '%/cp1251.html'"),
              "\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB\xD1\x8B");

    // Shown offline: the page of many links, and the long address behind the redirect.
    const test::LarkResult many = test::runLark("cat " + project_ + " " + server_.url("/many.html"));
    EXPECT_EQ(many.status, 0);
    EXPECT_NE(many.output.find("/deep/99999.html"), std::string::npos);
    const test::LarkResult moved = test::runLark("cat " + project_ + " " + server_.url("/moved.html"));
    EXPECT_EQ(moved.status, 0) << moved.output;
    EXPECT_NE(moved.output.find(server_.url(longPath_)), std::string::npos) << moved.output;
    EXPECT_NE(moved.output.find("arrived at the long address"), std::string::npos) << moved.output;
    // As the browser asks for it: percent-encoded UTF-8.
    const test::LarkResult second =
        test::runLark("cat " + project_ + " " + server_.url("/%D1%84%D0%B0%D0%B9%D0%BB-2.html"));
    EXPECT_NE(second.output.find("the second file"), std::string::npos) << second.output;
}

}  // namespace
