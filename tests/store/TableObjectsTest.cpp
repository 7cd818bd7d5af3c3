#include <gtest/gtest.h>

#include <stdexcept>

#include "support/ProjectFiles.h"
#include "support/TableFixture.h"

namespace {

struct Project : test::TableFixture {
    std::string plan(const std::string &sql) {
        eng::Statement s = db->prepare("EXPLAIN QUERY PLAN " + sql);
        std::string out;
        while (s.step()) out += s.text(3) + "\n";
        return out;
    }
};

}  // namespace

TEST(TableObjects, AddReadsTheNewKeyBackAndSeeksFindRows) {
    Project p;
    auto &folders = p.tables->folders;
    eng::FolderRow a{0, 1, "News"};
    eng::FolderRow b{0, 1, "Blogs"};
    eng::FolderRow c{0, 2, "Inner"};
    EXPECT_EQ(folders.add(a), 2u);
    EXPECT_EQ(folders.add(b), 3u);
    EXPECT_EQ(c.folderId, 0u);
    folders.add(c);
    EXPECT_EQ(c.folderId, 4u);

    auto found = folders.find(int64_t{3});
    ASSERT_TRUE(found);
    EXPECT_EQ(found->name, "Blogs");
    EXPECT_FALSE(folders.find(int64_t{99}));
    auto children = folders.children(1);
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[0].name, "News");
    EXPECT_EQ(children[1].name, "Blogs");
    EXPECT_TRUE(folders.children(4).empty());

    found->name = "Weblogs";
    found->parentId = 2;
    folders.edit(*found);
    EXPECT_EQ(folders.find(int64_t{3})->name, "Weblogs");
    EXPECT_EQ(folders.children(2).size(), 2u);
    folders.remove(int64_t{3});
    EXPECT_FALSE(folders.find(int64_t{3}));
    // Keys are never given again, even after a delete.
    eng::FolderRow d{0, 1, "Later"};
    EXPECT_EQ(folders.add(d), 5u);
}

TEST(TableObjects, TextIsCutToItsColumnWithoutSplittingACharacter) {
    Project p;
    eng::FolderRow f{0, 1, std::string(48, 'a') + "éé"};  // 52 bytes, 50 allowed
    p.tables->folders.add(f);
    EXPECT_EQ(p.tables->folders.find(int64_t{f.folderId})->name, std::string(48, 'a') + "é");
}

TEST(TableObjects, MultiKeySeeksWalkInIndexOrder) {
    Project p;
    auto &urlRes = p.tables->urlRes;
    for (int i = 0; i < 4; ++i) {
        eng::UrlResRow r;
        r.urlId = 7;
        r.postId = 0;
        r.url = "http://example.com/";
        r.doneTime = 45000 + i;
        r.state = i % 2 ? 3 : 2;
        r.priority = i;
        urlRes.add(r);
    }
    auto fetches = urlRes.fetchesOf(7, 0);
    ASSERT_EQ(fetches.size(), 4u);
    EXPECT_EQ(fetches.front().doneTime, 45003);  // newest first
    EXPECT_EQ(fetches.back().doneTime, 45000);
    EXPECT_TRUE(urlRes.fetchesOf(7, 1).empty());
    auto next = urlRes.firstInState(3);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->priority, 3);  // highest priority first

    auto &items = p.tables->items;
    eng::ItemRow item;
    item.taskId = 1;
    item.urlId = 7;
    item.postId = 9;
    item.level = 2;
    items.add(item);
    EXPECT_TRUE(items.inTask(1, 7, 9));
    EXPECT_FALSE(items.inTask(1, 7, 0));
}

TEST(TableObjects, TextKeyedAndKeylessTables) {
    Project p;
    eng::AuthRow auth{"Members area", "ann", "secret"};
    p.tables->auth.add(auth);
    auth.password = "changed";
    p.tables->auth.edit(auth);
    EXPECT_EQ(p.tables->auth.find(std::string("Members area"))->password, "changed");
    EXPECT_FALSE(p.tables->auth.find(std::string("members area")));

    eng::RelRow link{5, 10, 0, 3};
    p.tables->rel.add(link);
    link.urlId = 11;
    p.tables->rel.add(link);
    EXPECT_EQ(p.tables->rel.linksOf(5).size(), 2u);
    EXPECT_EQ(p.tables->rel.linksTo(11, 0).size(), 1u);
    p.tables->rel.removeLinksOf(5);
    EXPECT_TRUE(p.tables->rel.linksOf(5).empty());

    eng::ChunkRow second{4, 1, "second"}, first{4, 0, "first"};
    p.tables->strChunks.add(second);
    p.tables->strChunks.add(first);
    auto chunks = p.tables->strChunks.chunksOf(4);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].value, "first");
    EXPECT_EQ(p.tables->noiseWords.all().size(), 141u);
}

TEST(TableObjects, ProjectRowLoadsAndSaves) {
    Project p;
    eng::ProjectRow row = *p.tables->project.load();
    EXPECT_EQ(row.version, 257u);
    row.optionsFlags = 6;
    row.onlineTime = 45123.5;
    p.tables->project.save(row);
    EXPECT_EQ(p.tables->project.load()->optionsFlags, 6u);
    EXPECT_EQ(p.tables->project.load()->onlineTime, 45123.5);
}

TEST(TableObjects, SeeksUseTheirNamedIndexes) {
    Project p;
    struct Case {
        std::string sql;
        std::string uses;
    } cases[] = {
        {p.tables->folders.seekSql("PrimaryKey", 1), "INTEGER PRIMARY KEY"},
        {p.tables->folders.seekSql("ParentId", 1), "INDEX Folders.ParentId"},
        {p.tables->tasks.seekSql("UrlId", 2), "INDEX Tasks.UrlId"},
        {p.tables->tasks.seekSql("FolderId", 1), "INDEX Tasks.FolderId"},
        {p.tables->urlRes.seekSql("StatePriority", 1), "INDEX UrlRes.StatePriority"},
        {p.tables->urlRes.seekSql("UrlRes", 2), "INDEX UrlRes.UrlRes"},
        {p.tables->urlRes.seekSql("Hash", 1), "INDEX UrlRes.Hash"},
        {p.tables->urlRes.seekSql("ResId", 1), "INDEX UrlRes.ResId"},
        {p.tables->items.seekSql("TaskLevel", 1), "INDEX Items.TaskLevel"},
        {p.tables->items.seekSql("TaskUrl", 3), "INDEX Items.TaskUrl"},
        {p.tables->items.seekSql("UrlResId", 1), "INDEX Items.UrlResId"},
        {p.tables->res.seekSql("SizeHash", 2), "INDEX Res.SizeHash"},
        {p.tables->rel.seekSql("ResId", 1), "INDEX Rel.ResId"},
        {p.tables->rel.seekSql("UrlId", 2), "INDEX Rel.UrlId"},
        {p.tables->strings.seekSql("TypeHash", 2), "INDEX Strings.TypeHash"},
        {p.tables->strChunks.seekSql("StrId", 1), "INDEX StrChunks.StrId"},
        {p.tables->auth.seekSql("PrimaryKey", 1), "INDEX Auth.PrimaryKey"},
        {p.tables->titleIndex.seekSql("PrimaryKey", 1), "INDEX Title_Index.PrimaryKey"},
    };
    for (const Case &c : cases) {
        const std::string plan = p.plan(c.sql);
        EXPECT_NE(plan.find("SEARCH"), std::string::npos) << c.sql << "\n" << plan;
        EXPECT_NE(plan.find(c.uses), std::string::npos) << c.sql << "\n" << plan;
        EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << "sorts instead of walking the index: " << plan;
    }
    EXPECT_THROW(p.tables->folders.seek("NoSuchIndex", {int64_t{1}}), std::exception);
}

TEST(TableObjects, OpeningTablesChecksTheSchema) {
    test::TempDir dir;
    const std::string path = dir.file("p.slk");
    test::writeProjectFile(path);
    test::executeSql(path, "ALTER TABLE Items RENAME COLUMN Tag TO Label");
    eng::Database db(path);
    EXPECT_THROW(eng::ProjectTables tables(db, nullptr), std::exception);
}

// A page's links come in their stored order, each with the item that the
// asked task holds for its target: another task's item does not count, and
// of two items for one target the first stored is the one.
TEST(TableObjects, PageLinksComeWithTheTasksItemForEachTarget) {
    Project p;
    auto &strings = p.tables->strings;
    const uint32_t held = strings.intern("http://h/held.html", eng::StringKind::Url, true);
    const uint32_t others = strings.intern("http://h/others.html", eng::StringKind::Url, true);
    for (const char *url : {"http://h/held.html", "http://h/new.html", "http://h/others.html"})
        p.tables->rel.addLink(7, eng::Link{0, url, ""});
    eng::ItemRow first = eng::CItemsTable::make(1, held, 0, 2, 0);
    eng::ItemRow second = eng::CItemsTable::make(1, held, 0, 1, 0);
    eng::ItemRow elsewhere = eng::CItemsTable::make(2, others, 0, 1, 0);
    for (eng::ItemRow *item : {&first, &second, &elsewhere}) p.tables->items.addItem(*item);

    const auto links = p.tables->pageLinks.linksOf(7, 1);
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(links[0].link.urlId, held);
    ASSERT_TRUE(links[0].item);
    EXPECT_EQ(links[0].item->itemId, first.itemId);
    EXPECT_EQ(links[0].item->level, 2);
    EXPECT_EQ(strings.textOf(links[1].link.urlId), "http://h/new.html");
    EXPECT_FALSE(links[1].item);
    EXPECT_EQ(links[2].link.urlId, others);
    EXPECT_FALSE(links[2].item);
    EXPECT_TRUE(p.tables->pageLinks.linksOf(8, 1).empty());
}

// A read that an exception ends half way leaves its statement ready to be
// bound and run again.
TEST(TableObjects, AnInterruptedReadLeavesItsStatementReady) {
    Project p;
    eng::Statement s = p.db->prepare("SELECT ? UNION ALL SELECT 2");
    for (int64_t first : {1, 5}) {
        s.bind(1, first);
        try {
            const eng::ResetAfter reset(s);
            ASSERT_TRUE(s.step());
            EXPECT_EQ(s.integer(0), first);
            throw std::runtime_error("the reader gave up");
        } catch (const std::runtime_error &) {
        }
    }
}
