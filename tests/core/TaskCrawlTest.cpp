#include <gtest/gtest.h>

#include "core/CAdvTasksTable.h"
#include "support/TableFixture.h"

namespace {

const std::string kEnd(1, eng::Filter::kEntryEnd);

struct Crawl : test::TableFixture {
    std::string projectFilter;
    std::vector<std::pair<uint32_t, bool>> announced;  // (task, added)
    eng::CAdvTasksTable tasks{*tables, hooks()};

    eng::CAdvTasksTable::Hooks hooks() {
        eng::CAdvTasksTable::Hooks h;
        h.announce = [this](const eng::TaskRow &t, bool added) { announced.emplace_back(t.taskId, added); };
        h.itemGotResource = [](const eng::ItemRow &, const eng::UrlResRow &) {};
        h.projectFilter = [this] { return projectFilter; };
        return h;
    }
    uint32_t url(const std::string &text) { return tables->strings.intern(text, eng::StringKind::Url, true); }
    eng::TaskRow newTask(const std::string &address, uint32_t depth = 2, const std::string &filter = "",
                         double acceptableAge = 0) {
        eng::TaskRow task;
        task.acceptableAge = acceptableAge;
        task.urlId = url(address);
        task.levels = depth;
        task.filterId = tables->strings.intern(filter, eng::StringKind::Filter, true);
        tasks.insert(task);
        tasks.addItem(task, task.urlId, 0, 0, 0, nullptr, false);
        return *tasks.load(task.taskId);
    }
    eng::UrlResRow resourceOf(const eng::ItemRow &item) { return *tables->urlRes.find(int64_t{item.urlResId}); }
    // Marks an item's resource fetched and counts it for the task.
    void finish(eng::TaskRow &task, const eng::ItemRow &item, uint32_t redirectTo = 0) {
        eng::UrlResRow r = resourceOf(item);
        r.state = 2;
        r.title = "Fetched";
        r.redirectUrlId = redirectTo;
        tables->urlRes.update(r);
        tasks.resourceDone(task, item, r);
        tasks.resourceCounted(task, r);
        tasks.save(task);
    }
};

}  // namespace

TEST(TaskCrawl, ARedirectingStartPageHandsTheMainItemToItsTarget) {
    Crawl c;
    eng::TaskRow task = c.newTask("http://h/old");
    task.redirectUrl = true;
    task.autoName = true;
    eng::ItemRow start = *c.tables->items.find(int64_t{task.mainItemId});
    c.finish(task, start, c.url("http://h/new"));
    EXPECT_EQ(task.mainItemId, 0u);
    eng::ItemRow target = c.tasks.addItem(task, c.url("http://h/new"), 0, 0, 0, &start, true);
    EXPECT_EQ(task.mainItemId, target.itemId);
    c.finish(task, target);
    EXPECT_EQ(c.tables->strings.textOf(task.urlId), "http://h/new");  // follow redirects
    EXPECT_EQ(task.name, "Fetched");
    EXPECT_EQ(task.state, 2u);
    EXPECT_EQ(task.retrieved, 2u);
    EXPECT_EQ(c.resourceOf(target).referer, start.urlId);
}

TEST(TaskCrawl, FilteredItemsHaveNoResourceUntilTheFilterLetsThemIn) {
    Crawl c;
    eng::TaskRow task = c.newTask("http://h/", 2, "1;0;0;not *.zip" + kEnd);
    const eng::ItemRow start = *c.tables->items.find(int64_t{task.mainItemId});
    eng::ItemRow zip = c.tasks.addItem(task, c.url("http://h/a.zip"), 0, 1, 0, &start, true);
    eng::ItemRow page = c.tasks.addItem(task, c.url("http://h/b.html"), 0, 1, 0, &start, true);
    EXPECT_EQ(zip.urlResId, 0u);
    EXPECT_NE(page.urlResId, 0u);
    EXPECT_EQ(task.queued, 2u);

    // The new filter refuses .html and lets .zip in.
    task.filterId = c.tables->strings.intern("1;0;0;not *.html" + kEnd, eng::StringKind::Filter, true);
    c.tasks.save(task);
    EXPECT_EQ(c.tables->items.find(int64_t{page.itemId})->urlResId, 0u);
    EXPECT_NE(c.tables->items.find(int64_t{zip.itemId})->urlResId, 0u);
    EXPECT_NE(c.tables->items.find(int64_t{start.itemId})->urlResId, 0u);  // never the main item
    EXPECT_EQ(c.tasks.load(task.taskId)->queued, 2u);
}

TEST(TaskCrawl, TheProjectFilterJoinsEveryTasksFilter) {
    Crawl c;
    c.projectFilter = "1;0;0;not *banner*" + kEnd;
    eng::TaskRow task = c.newTask("http://h/", 2, "1;0;0;*.gif" + kEnd);
    const eng::Filter &filter = c.tasks.filterOf(task);
    ASSERT_EQ(filter.rules().size(), 1u);
    EXPECT_EQ(filter.rules()[0].text, "( *.gif ) AND ( not *banner* )");
    EXPECT_TRUE(filter.accept("http://h/logo.gif", 0));
    EXPECT_FALSE(filter.accept("http://h/banner.gif", 0));
}

TEST(TaskCrawl, ShallowerDepthDropsOnlyTheQueuedItemsThatAreNowTooDeep) {
    Crawl c;
    eng::TaskRow task = c.newTask("http://h/", 3);
    const eng::ItemRow start = *c.tables->items.find(int64_t{task.mainItemId});
    c.finish(task, start);
    c.tasks.addItem(task, c.url("http://h/1"), 0, 1, 0, &start, true);
    c.tasks.addItem(task, c.url("http://h/2"), 0, 2, 0, &start, true);
    c.tasks.addItem(task, c.url("http://h/3"), 0, 3, 0, &start, true);
    EXPECT_EQ(task.queued, 3u);
    task.levels = 1;
    c.tasks.save(task);
    eng::TaskRow saved = *c.tasks.load(task.taskId);
    EXPECT_EQ(saved.queued, 1u);
    EXPECT_EQ(c.tables->items.ofTask(task.taskId).size(), 2u);  // the start page and level 1
    task.levels = 0;
    c.tasks.save(task);
    EXPECT_EQ(c.tasks.load(task.taskId)->state, 2u);
}

TEST(TaskCrawl, StoppingSuspendsResourcesThatNoOtherRunningTaskHolds) {
    Crawl c;
    // With an acceptable age the second task shares the queued resource.
    eng::TaskRow one = c.newTask("http://h/shared", 2, "", 1);
    eng::TaskRow two = c.newTask("http://h/shared", 2, "", 1);
    eng::UrlResRow shared = c.resourceOf(*c.tables->items.find(int64_t{one.mainItemId}));
    EXPECT_EQ(shared.urlResId, c.resourceOf(*c.tables->items.find(int64_t{two.mainItemId})).urlResId);
    shared.state = 4;  // downloading
    c.tables->urlRes.update(shared);
    c.events.clear();
    one.state = 5;
    c.tasks.save(one);
    EXPECT_EQ(c.resourceOf(*c.tables->items.find(int64_t{one.mainItemId})).state, 4u);  // two still runs
    two.state = 5;
    c.tasks.save(two);
    ASSERT_FALSE(c.events.empty());
    EXPECT_EQ(c.events.back().now, 5u);
    EXPECT_EQ(c.events.back().before, 4u);  // the engine aborts the download on this change
    two.state = 4;
    c.tasks.save(two);
    EXPECT_EQ(c.resourceOf(*c.tables->items.find(int64_t{two.mainItemId})).state, 3u);
}

// While a task's saves are held, items added to it change the object alone:
// the one save after writes and announces the final counts once.
TEST(TaskCrawl, HeldSavesWriteAndAnnounceTheTaskOnceAtTheSaveAfter) {
    Crawl c;
    eng::TaskRow task = c.newTask("http://h/");
    const eng::ItemRow start = *c.tables->items.find(int64_t{task.mainItemId});
    const size_t before = c.announced.size();
    {
        const eng::CAdvTasksTable::HeldSaves held(c.tasks, task.taskId);
        for (const char *page : {"http://h/a", "http://h/b", "http://h/c"})
            c.tasks.addItem(task, c.url(page), 0, 1, 0, &start, true);
        EXPECT_EQ(task.queued, 4u);
        EXPECT_EQ(c.tasks.load(task.taskId)->queued, 1u);
        EXPECT_EQ(c.announced.size(), before);
    }
    c.tasks.save(task);
    EXPECT_EQ(c.tasks.load(task.taskId)->queued, 4u);
    ASSERT_EQ(c.announced.size(), before + 1);
    EXPECT_EQ(c.announced.back(), std::make_pair(task.taskId, false));
}
