#include <gtest/gtest.h>

#include "base/DateTime.h"
#include "store/CAdvUrlResTable.h"
#include "support/TableFixture.h"

using Event = eng::CAdvUrlResTable::Event;

namespace {

struct Resources : test::TableFixture {
    eng::CAdvUrlResTable &urlRes() { return tables->urlRes; }
    uint32_t url(const std::string &text) { return tables->strings.intern(text, eng::StringKind::Url, true); }

    // A stored fetch of an address, done at the given date.
    eng::UrlResRow fetched(const std::string &address, eng::Date done, uint32_t state = 2) {
        eng::UrlResRow row = urlRes().make(url(address), 0);
        row.doneTime = done;
        row.state = state;
        urlRes().insert(row);
        return row;
    }
    uint32_t refCountOf(const std::string &table, const std::string &keyColumn, uint32_t key) {
        return static_cast<uint32_t>(
            scalar("SELECT RefCount FROM " + table + " WHERE " + keyColumn + " = " + std::to_string(key)));
    }
};

}  // namespace

TEST(UrlResources, RowsHoldReferencesOnTheirStringsAndBody) {
    Resources r;
    eng::UrlResRow row = r.urlRes().make(r.url("http://a.example/p"), 0);
    row.userAgentId = r.tables->strings.intern("TestAgent/1", eng::StringKind::UserText, true);
    row.resId = r.tables->res
                    .storeFetched(eng::MemoryBytes(std::vector<uint8_t>{'G', 'I', 'F', '8', '9', 'a', '1'}),
                                  "image/gif", "http://a/")
                    .key;
    row.state = 3;
    EXPECT_GT(r.urlRes().insert(row), 0u);
    EXPECT_EQ(row.url, "http://a.example/p");
    EXPECT_EQ(row.domain, r.urlRes().make(r.url("http://b.a.example/"), 0).domain);
    EXPECT_EQ(r.refCountOf("Strings", "StrId", row.urlId), 1u);
    EXPECT_EQ(r.refCountOf("Strings", "StrId", row.userAgentId), 1u);
    EXPECT_EQ(r.refCountOf("Res", "ResId", row.resId), 1u);

    // A new row has no users yet; each user adds a reference.
    r.urlRes().addReference(row.urlResId);
    r.urlRes().addReference(row.urlResId);
    EXPECT_EQ(r.urlRes().release(row.urlResId), 1);
    eng::UrlResRow changed = *r.urlRes().find(int64_t{row.urlResId});
    changed.userAgentId = 0;
    changed.state = 2;
    EXPECT_TRUE(r.urlRes().update(changed));
    EXPECT_EQ(r.scalar("SELECT count(*) FROM Strings WHERE String = 'TestAgent/1'"), 0);
    // A stale copy that is written back keeps the stored counts.
    changed.refCount = 7;
    r.urlRes().update(changed);
    EXPECT_EQ(r.refCountOf("UrlRes", "UrlResId", row.urlResId), 1u);
    EXPECT_EQ(r.urlRes().release(row.urlResId), 0);
    EXPECT_EQ(r.scalar("SELECT count(*) FROM UrlRes"), 0);
    EXPECT_EQ(r.scalar("SELECT count(*) FROM Res"), 0);
    EXPECT_EQ(r.scalar("SELECT count(*) FROM Strings WHERE Type = 1"), 1);  // b.a.example, never referenced
    EXPECT_EQ(r.urlRes().release(row.urlResId), -1);
    EXPECT_EQ(r.urlRes().release(0), -1);
    EXPECT_FALSE(r.urlRes().update(changed));

    ASSERT_EQ(r.events.size(), 4u);
    EXPECT_EQ(r.events[0].event, Event::Inserted);
    EXPECT_EQ(r.events[1].event, Event::Changed);
    EXPECT_EQ(r.events[1].now, 2u);
    EXPECT_EQ(r.events[1].before, 3u);
    EXPECT_EQ(r.events[3].event, Event::Deleting);
}

TEST(UrlResources, ClosestFetchIsTheNearerAndTheLaterOnATie) {
    Resources r;
    r.fetched("http://h/", 100);
    r.fetched("http://h/", 110);
    r.fetched("http://h/", 130);
    const uint32_t id = r.url("http://h/");
    EXPECT_EQ(r.urlRes().findClosest(id, 0, 104)->doneTime, 100);
    EXPECT_EQ(r.urlRes().findClosest(id, 0, 105)->doneTime, 110);  // tie: the one at or after
    EXPECT_EQ(r.urlRes().findClosest(id, 0, 125)->doneTime, 130);
    EXPECT_EQ(r.urlRes().findClosest(id, 0, 500)->doneTime, 130);
    EXPECT_EQ(r.urlRes().findClosest(id, 0, 1)->doneTime, 100);
    EXPECT_EQ(r.urlRes().findLatest(id, 0)->doneTime, 130);
    EXPECT_FALSE(r.urlRes().findClosest(id, 7, 100));
}

TEST(UrlResources, ObtainForCrawlReusesOnlyWhatIsFreshOrQueued) {
    Resources r;
    const eng::Date today = eng::now();
    const uint32_t id = r.url("http://h/page");
    auto old = r.fetched("http://h/page", today - 10);
    // Acceptable age 0: always a new resource.
    auto fresh = r.urlRes().obtainForCrawl(id, 0, 0, 5, 3, 0);
    EXPECT_NE(fresh.urlResId, old.urlResId);
    EXPECT_EQ(fresh.state, 3u);
    EXPECT_EQ(fresh.priority, 5);
    // A queued row is reused whatever the age, even where an older done fetch
    // sorts first...
    EXPECT_EQ(r.urlRes().obtainForCrawl(id, 0, 1, 5, 3, 0).urlResId, fresh.urlResId);
    // ...unless it failed.
    fresh.error = true;
    r.urlRes().update(fresh);
    EXPECT_NE(r.urlRes().obtainForCrawl(id, 0, 1, 5, 3, 0).urlResId, fresh.urlResId);

    auto other = r.fetched("http://h/other", today - 2);
    const uint32_t otherId = r.url("http://h/other");
    EXPECT_EQ(r.urlRes().obtainForCrawl(otherId, 0, 3, 0, 3, 0).urlResId, other.urlResId);  // young enough
    EXPECT_NE(r.urlRes().obtainForCrawl(otherId, 0, 1, 0, 3, 0).urlResId, other.urlResId);  // too old
}

TEST(UrlResources, ANewFetchRevalidatesTheClosestDoneOne) {
    Resources r;
    eng::UrlResRow stored = r.fetched("http://h/doc", eng::now() - 5);
    stored.lastModified = 40000.5;
    r.urlRes().update(stored);
    auto again = r.urlRes().obtainForCrawl(stored.urlId, 0, 0, 0, 3, 0);
    EXPECT_EQ(again.tag, stored.urlResId);
    EXPECT_EQ(again.lastModified, 40000.5);
    EXPECT_EQ(r.refCountOf("UrlRes", "UrlResId", stored.urlResId), 1u);
    // Without a last-modified date there is nothing to revalidate.
    auto plain = r.fetched("http://h/plain", eng::now() - 5);
    EXPECT_EQ(r.urlRes().obtainForCrawl(plain.urlId, 0, 0, 0, 3, 0).tag, 0u);
}

TEST(UrlResources, ResumeAndSuspendFollowTheRunCount) {
    Resources r;
    auto row = r.fetched("http://h/", 0, 5);
    r.events.clear();
    r.urlRes().resume(row.urlResId);
    EXPECT_EQ(r.urlRes().find(int64_t{row.urlResId})->state, 3u);
    r.urlRes().resume(row.urlResId);  // a second running task: no change of state
    EXPECT_EQ(r.urlRes().find(int64_t{row.urlResId})->runCount, 2u);
    r.urlRes().suspend(row.urlResId);
    EXPECT_EQ(r.urlRes().find(int64_t{row.urlResId})->state, 3u);
    auto downloading = *r.urlRes().find(int64_t{row.urlResId});
    downloading.state = 4;
    r.urlRes().update(downloading);
    r.urlRes().suspend(row.urlResId);
    EXPECT_EQ(r.urlRes().find(int64_t{row.urlResId})->state, 5u);
    ASSERT_EQ(r.events.size(), 3u);
    EXPECT_EQ(r.events[0].now, 3u);
    EXPECT_EQ(r.events[0].before, 5u);
    EXPECT_EQ(r.events[2].now, 5u);
    EXPECT_EQ(r.events[2].before, 4u);  // the engine aborts that download
    r.urlRes().changeRunCount(row.urlResId, false);
    r.urlRes().changeRunCount(row.urlResId, false);  // never below none
    EXPECT_EQ(r.urlRes().find(int64_t{row.urlResId})->runCount, 0u);
    r.urlRes().changeRunCount(row.urlResId, true);
    EXPECT_EQ(r.urlRes().find(int64_t{row.urlResId})->runCount, 1u);
}

TEST(UrlResources, ResetKeepsAResumableFetchOnly) {
    eng::UrlResRow partial;
    partial.state = 2;
    partial.statusCode = 206;
    partial.contentLength = 1000;
    partial.size = 400;
    partial.resId = 7;
    partial.error = true;
    partial.lastError = 12030;
    partial.priority = 3;
    partial.title = "t";
    eng::UrlResRow copy = partial;
    eng::CAdvUrlResTable::reset(copy, false);
    EXPECT_EQ(copy.state, 3u);
    EXPECT_EQ(copy.resId, 7u);
    EXPECT_EQ(copy.size, 400u);
    EXPECT_FALSE(copy.error);
    EXPECT_EQ(copy.lastError, 0u);
    EXPECT_EQ(copy.priority, 2);
    EXPECT_EQ(copy.retries, 1u);
    EXPECT_EQ(copy.title, "t");
    eng::CAdvUrlResTable::reset(partial, true);  // forced: start again
    EXPECT_EQ(partial.resId, 0u);
    EXPECT_EQ(partial.size, 0u);
    EXPECT_EQ(partial.statusCode, 0);
    EXPECT_EQ(partial.title, "");
}

TEST(UrlResources, ErrorCountsAndListsAndStates) {
    Resources r;
    auto server = r.fetched("http://h/500", 1);
    server.error = true;
    r.urlRes().update(server);
    r.urlRes().changeRunCount(server.urlResId, true);
    auto network = r.fetched("http://h/down", 1);
    network.error = network.tcpError = true;
    r.urlRes().update(network);
    r.fetched("http://h/ok", 1);
    r.fetched("http://h/q", 0, 3);
    EXPECT_EQ(r.urlRes().countErrors(eng::ErrorKind::AllErrors, false), 2u);
    EXPECT_EQ(r.urlRes().countErrors(eng::ErrorKind::NetworkErrors, false), 1u);
    EXPECT_EQ(r.urlRes().countErrors(eng::ErrorKind::ServerErrors, false), 1u);
    EXPECT_EQ(r.urlRes().countErrors(eng::ErrorKind::AllErrors, true), 1u);
    auto listed = r.urlRes().listErrors(0, eng::ErrorKind::AllErrors);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].urlResId, server.urlResId);
    EXPECT_EQ(r.urlRes().countQueued(), 1u);
    r.urlRes().setAllStates(3, 5);
    EXPECT_EQ(r.urlRes().countQueued(), 0u);
}

TEST(Items, HoldReferencesAndStoppedTasksKeepRunCounts) {
    Resources r;
    auto resource = r.fetched("http://h/", 1);
    eng::ItemRow item = eng::CItemsTable::make(9, resource.urlId, 0, 2, 0);
    item.urlResId = resource.urlResId;
    r.tables->items.addItem(item);
    EXPECT_GT(item.created, 0);
    EXPECT_EQ(r.refCountOf("UrlRes", "UrlResId", resource.urlResId), 1u);
    EXPECT_EQ(r.refCountOf("Strings", "StrId", resource.urlId), 2u);
    r.tables->urlRes.changeRunCount(resource.urlResId, true);
    r.tables->urlRes.addReference(resource.urlResId);  // another user keeps the row alive

    r.tables->items.deleteItem(item, eng::CItemsTable::kStoppedTask);
    EXPECT_EQ(r.scalar("SELECT RunCount FROM UrlRes"), 1);
    eng::ItemRow second = eng::CItemsTable::make(9, resource.urlId, 0, 2, 0);
    second.urlResId = resource.urlResId;
    r.tables->items.addItem(second);
    r.tables->items.deleteItem(second, 4);
    EXPECT_EQ(r.scalar("SELECT RunCount FROM UrlRes"), 0);
    EXPECT_EQ(r.refCountOf("UrlRes", "UrlResId", resource.urlResId), 1u);
}
