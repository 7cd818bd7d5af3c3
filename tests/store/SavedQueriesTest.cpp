#include <gtest/gtest.h>

#include "support/TableFixture.h"

namespace {

using eng::SavedQueries;

// A project with a small crawl in it: two tasks, four resources, two bodies
// and the links between them.
struct Fixture : test::TableFixture {
    Fixture()
        : TableFixture(R"(
            INSERT INTO Tasks (TaskId, Name) VALUES (1, 'one'), (2, 'two');
            INSERT INTO Res (ResId, Body, Hash, Size, Type, ContentType, RefCount, Indexed) VALUES
              (1, x'3c68746d6c3e', 10, 6, 1, 'text/html', 1, 0),
              (2, x'89504e47', 11, 4, 2, 'image/png', 1, 0),
              (3, x'68656c6c6f', 12, 5, 6, 'text/plain', 1, 1);
            INSERT INTO UrlRes (UrlResId, UrlId, PostId, ResId, State, Size, DoneTime, Url, RunCount) VALUES
              (1, 100, 0, 1, 2, 6, 45000, 'http://a/', 0),
              (2, 101, 0, 2, 3, 0, 0, 'http://a/p.png', 0),
              (3, 102, 0, 0, 3, 0, 0, 'http://a/x', 0),
              (4, 100, 0, 1, 2, 6, 45001, 'http://a/', 0);
            INSERT INTO Items (TaskId, UrlId, UrlResId) VALUES (1, 100, 1), (1, 101, 2), (2, 102, 3);
            INSERT INTO Rel (ResId, UrlId, PostId, Relation) VALUES (1, 101, 0, 4), (1, 102, 0, 1);
            INSERT INTO "Index" (ResId, Word, Pos) VALUES (1, 'html', 0), (3, 'hello', 0);
        )") {}
    eng::ProjectTables *operator->() { return tables.get(); }
};

}  // namespace

TEST(SavedQueries, GetQueuedCountsQueuedResources) {
    Fixture f;
    eng::Statement &q = f->queries.get("Get Queued");
    ASSERT_TRUE(q.step());
    EXPECT_EQ(q.integer(0), 2);
}

TEST(SavedQueries, SetStateMovesEveryRowOfOneState) {
    Fixture f;
    eng::Statement &q = f->queries.get("UrlRes Set State");
    SavedQueries::bind(q, "[NEW_STATE]", 5);
    SavedQueries::bind(q, "[OLD_STATE]", 3);
    q.run();
    EXPECT_EQ(f.scalar("SELECT count(*) FROM UrlRes WHERE State = 5"), 2);
    EXPECT_EQ(f.scalar("SELECT count(*) FROM UrlRes WHERE State = 2"), 2);
    EXPECT_THROW(SavedQueries::bind(q, "[NO_SUCH]", 1), std::exception);
}

TEST(SavedQueries, RunCountRisesForTheTasksResourcesOnly) {
    Fixture f;
    eng::Statement &q = f->queries.get("Update UrlRes RunCount");
    SavedQueries::bind(q, "[TASKID_PARAM]", 1);
    q.run();
    EXPECT_EQ(f.scalar("SELECT sum(RunCount) FROM UrlRes WHERE UrlResId IN (1, 2)"), 2);
    EXPECT_EQ(f.scalar("SELECT sum(RunCount) FROM UrlRes WHERE UrlResId IN (3, 4)"), 0);
}

TEST(SavedQueries, LinkedByListsTheResourcesWhoseBodiesLinkToAnAddress) {
    Fixture f;
    eng::Statement &q = f->queries.get("Select Linked By");
    SavedQueries::bind(q, "[URLID_PARAM]", 101);
    SavedQueries::bind(q, "[POSTID_PARAM]", 0);
    std::vector<int64_t> ids;
    while (q.step()) ids.push_back(q.integer(0));
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<int64_t>{1, 4}));  // both fetches of the page that holds the link
}

TEST(SavedQueries, NotIndexedBodiesAndTheirSize) {
    Fixture f;
    eng::Statement &q = f->queries.get("Select Not Indexed");
    std::vector<int64_t> ids;
    while (q.step()) ids.push_back(q.integer(0));
    EXPECT_EQ(ids, (std::vector<int64_t>{1}));  // html not yet indexed; the image is not indexable
    eng::Statement &size = f->queries.get("Get Not Indexed Size");
    ASSERT_TRUE(size.step());
    EXPECT_EQ(size.integer(0), 1);
    EXPECT_EQ(size.integer(1), 6);
    f.db->execute("UPDATE Res SET Indexed = 1");
    eng::Statement &none = f->queries.get("Get Not Indexed Size");
    ASSERT_TRUE(none.step());
    EXPECT_EQ(none.integer(0), 0);
    EXPECT_EQ(none.integer(1), 0);
}

TEST(SavedQueries, ImportAndDeleteWords) {
    Fixture f;
    eng::Statement &import = f->queries.get("Import Words");
    SavedQueries::bind(import, "[RESID]", 1);
    SavedQueries::bind(import, "[WORD]", std::string_view("page"));
    SavedQueries::bind(import, "[POS]", 1);
    import.run();
    EXPECT_EQ(f.scalar("SELECT count(*) FROM \"Index\" WHERE ResId = 1"), 2);
    eng::Statement &del = f->queries.get("Delete ResId From Index");
    SavedQueries::bind(del, "[RESID_PARAM]", 1);
    del.run();
    EXPECT_EQ(f.scalar("SELECT count(*) FROM \"Index\""), 1);
}

TEST(SavedQueries, StatisticsByType) {
    Fixture f;
    eng::Statement &q = f->queries.get("Get Statistics");
    std::map<int64_t, std::pair<int64_t, int64_t>> byType;
    while (q.step()) byType[q.integer(0)] = {q.integer(1), q.integer(2)};
    EXPECT_EQ(byType.size(), 3u);
    EXPECT_EQ(byType[1], std::make_pair(int64_t{6}, int64_t{1}));
    EXPECT_EQ(byType[6], std::make_pair(int64_t{5}, int64_t{1}));
}

TEST(SavedQueries, LatestUrlsTakeTheNewestCompletedFetch) {
    Fixture f;
    eng::Statement &q = f->queries.get("Select Latest Urls");
    ASSERT_TRUE(q.step());
    EXPECT_EQ(q.integer(0), 100);
    EXPECT_EQ(q.real(1), 45001);
    EXPECT_FALSE(q.step());
    EXPECT_THROW(f->queries.get("No Such Query"), std::exception);
}

TEST(SavedQueries, EveryStatementPreparesAgainstTheSchema) {
    Fixture f;
    for (const char *name :
         {"Get Queued", "UrlRes Set State", "Update UrlRes RunCount", "Select items by state", "Select Linked By",
          "Select Latest Urls", "Select ResId and UrlId to export", "Select Not Indexed", "Get Not Indexed Size",
          "Get Statistics", "Import Words", "Delete ResId From Index", "Delete ResId From Title_Index", "Clear Index",
          "Clear All Indexed"})
        EXPECT_NO_THROW(f->queries.get(name)) << name;
}
