#include "core/DownloadResult.h"

#include <gtest/gtest.h>

#include "support/TableFixture.h"

namespace {

struct Downloads : test::TableFixture {
    eng::UrlResRow queued(const std::string &address) {
        eng::UrlResRow row = tables->urlRes.make(tables->strings.intern(address, eng::StringKind::Url, true), 0);
        row.state = 3;
        tables->urlRes.insert(row);
        tables->urlRes.addReference(row.urlResId);  // as its item would
        return row;
    }
    static void respond(eng::DownloadRecord &d, uint32_t status, std::string_view body,
                        std::string type = "image/png") {
        d.url = "http://h/";
        d.statusCode = status;
        d.body.assign(body);
        d.contentLength = static_cast<uint32_t>(body.size());
        d.contentType = std::move(type);
    }
    eng::UrlResRow stored(uint32_t id) { return *tables->urlRes.find(int64_t{id}); }
    std::string bodyOf(uint32_t id) {
        auto body = tables->res.read(stored(id).resId);
        return body ? std::string(body->bytes.begin(), body->bytes.end()) : "(none)";
    }
    void apply(eng::UrlResRow &row, eng::DownloadRecord &d, std::string_view title = "") {
        eng::applyDownloadResult(*tables, row, d, title);
    }
};

}  // namespace

TEST(DownloadResult, AFirstFetchStoresItsBodyAndNamesItself) {
    Downloads t;
    auto row = t.queued("http://h/dir/photo.png");
    eng::DownloadRecord d;
    Downloads::respond(d, 200, "PNGDATA");
    d.lastModified = "Wed, 09 Dec 2026 07:58:00 GMT";
    d.server = "nginx";
    t.apply(row, d);
    auto s = t.stored(row.urlResId);
    EXPECT_EQ(s.state, 2u);
    EXPECT_EQ(s.statusCode, 200);
    EXPECT_FALSE(s.error);
    EXPECT_GT(s.doneTime, 0);
    EXPECT_GT(s.lastModified, 46000);
    EXPECT_EQ(s.title, "photo.png");
    EXPECT_EQ(t.bodyOf(row.urlResId), "PNGDATA");

    auto page = t.queued("http://h/");
    eng::DownloadRecord p;
    Downloads::respond(p, 200, "<html></html>", "text/html");
    t.apply(page, p);
    EXPECT_EQ(t.stored(page.urlResId).title, "Default page");
    auto titled = t.queued("http://h/a.html");
    eng::DownloadRecord q;
    Downloads::respond(q, 200, "<html><title>T</title></html>", "text/html; charset=utf-8");
    t.apply(titled, q, "The title");
    EXPECT_EQ(t.stored(titled.urlResId).title, "The title");
}

TEST(DownloadResult, NotModifiedTakesTheEarlierFetchAndReleasesIt) {
    Downloads t;
    auto first = t.queued("http://h/doc.png");
    eng::DownloadRecord d;
    Downloads::respond(d, 200, "ORIGINAL");
    d.lastModified = "Sun, 06 Nov 1994 08:49:37 GMT";
    t.apply(first, d);

    auto again = t.tables->urlRes.obtainForCrawl(first.urlId, 0, 0, 0, 3, 0);
    ASSERT_EQ(again.tag, first.urlResId);
    // The item moves to the new fetch; only the revalidation still holds the first.
    t.tables->urlRes.addReference(again.urlResId);
    t.tables->urlRes.release(first.urlResId);
    eng::DownloadRecord notModified;
    Downloads::respond(notModified, 304, "");
    t.apply(again, notModified);
    auto s = t.stored(again.urlResId);
    EXPECT_EQ(s.statusCode, 200);
    EXPECT_EQ(s.state, 2u);
    EXPECT_EQ(s.tag, 0u);
    EXPECT_EQ(t.bodyOf(again.urlResId), "ORIGINAL");
    EXPECT_FALSE(t.tables->urlRes.find(int64_t{first.urlResId}));  // nothing else used it
    EXPECT_EQ(t.scalar("SELECT count(*) FROM Res"), 1);
    EXPECT_EQ(t.scalar("SELECT RefCount FROM Res"), 1);
}

TEST(DownloadResult, AFailedRefreshKeepsTheStoredCopy) {
    Downloads t;
    auto row = t.queued("http://h/page.png");
    eng::DownloadRecord ok;
    Downloads::respond(ok, 200, "GOOD COPY");
    t.apply(row, ok);
    row = t.stored(row.urlResId);
    eng::CAdvUrlResTable::reset(row, true);
    row.resId = t.stored(row.urlResId).resId;  // a refresh of the stored copy
    row.statusCode = 200;
    eng::DownloadRecord broken;
    Downloads::respond(broken, 500, "Internal Server Error", "text/html");
    t.apply(row, broken);
    auto s = t.stored(row.urlResId);
    EXPECT_TRUE(s.error);
    EXPECT_EQ(s.state, 2u);
    EXPECT_EQ(s.statusCode, 200);
    EXPECT_EQ(t.bodyOf(row.urlResId), "GOOD COPY");
}

TEST(DownloadResult, APartialResponseJoinsTheStoredBytes) {
    Downloads t;
    auto row = t.queued("http://h/big.bin");
    eng::DownloadRecord cut;
    Downloads::respond(cut, 200, "FIRST-");
    cut.contentLength = 12;  // the transfer stopped half-way
    cut.errorCode = 12030;
    t.apply(row, cut);
    row = t.stored(row.urlResId);
    EXPECT_TRUE(row.tcpError);
    eng::CAdvUrlResTable::reset(row, false);  // a retry resumes
    ASSERT_NE(row.resId, 0u);
    eng::DownloadRecord rest;
    Downloads::respond(rest, 206, "SECOND");
    rest.contentLength = 6;
    t.apply(row, rest);
    auto s = t.stored(row.urlResId);
    EXPECT_EQ(t.bodyOf(row.urlResId), "FIRST-SECOND");
    EXPECT_EQ(s.size, 12u);
    EXPECT_EQ(s.contentLength, 12u);
    EXPECT_FALSE(s.error);
    EXPECT_EQ(t.scalar("SELECT count(*) FROM Res"), 1);  // the partial body went

    // A range the server cannot serve starts the resource over.
    row = t.stored(row.urlResId);
    eng::DownloadRecord unsatisfiable;
    Downloads::respond(unsatisfiable, 416, "");
    t.apply(row, unsatisfiable);
    EXPECT_EQ(t.stored(row.urlResId).state, 3u);
    EXPECT_EQ(t.stored(row.urlResId).resId, 0u);
}

TEST(DownloadResult, AnAbortedDownloadIsStoredWithStatus499) {
    Downloads t;
    auto row = t.queued("http://h/x.png");
    eng::DownloadRecord d;
    Downloads::respond(d, 200, "PART");
    d.contentLength = 100;
    d.aborted = 1;
    d.errorCode = 12017;
    t.apply(row, d);
    auto s = t.stored(row.urlResId);
    EXPECT_EQ(s.statusCode, 499);
    EXPECT_TRUE(s.error);
    EXPECT_FALSE(s.tcpError);
    EXPECT_EQ(s.lastError, 12017u);
}
