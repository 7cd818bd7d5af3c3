#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <fstream>

#include "support/RunLark.h"
#include "support/TempDir.h"

namespace {

long long indexRows(const std::string &project) {
    sqlite3 *db = nullptr;
    sqlite3_open_v2(project.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *count = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM \"Index\"", -1, &count, nullptr);
    const long long rows = sqlite3_step(count) == SQLITE_ROW ? sqlite3_column_int64(count, 0) : -1;
    sqlite3_finalize(count);
    sqlite3_close(db);
    return rows;
}

// lark index on a project mirrored from a local page, then again with nothing
// left to index; the speeds go to a settings file of the test's own.
TEST(IndexCommandTest, IndexesTheStoredPageOnceAndSaysWhatItDid) {
    test::TempDir dir;
    setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
    std::ofstream(dir.file("page.html")) << "<html><title>Home</title><body>The Cat's 2 <b>dogs</b>&amp;CATS</body>";
    const std::string project = dir.file("p.slk");
    ASSERT_EQ(test::runLark("mirror file://" + dir.file("page.html") + " -o " + project + " --depth 0").status, 0);

    const auto first = test::runLark("index " + project);
    ASSERT_EQ(first.status, 0) << first.output;
    EXPECT_TRUE(test::contains(first, "1 bodies to index\n")) << first.output;
    EXPECT_TRUE(test::contains(first, "1 bodies indexed, 4 words written in ")) << first.output;
    EXPECT_EQ(indexRows(project), 4);  // home, cat, dogs, cats
    EXPECT_TRUE(std::ifstream(dir.file("config/Quenmar/Lark.conf")).good());

    const auto second = test::runLark("index " + project);
    ASSERT_EQ(second.status, 0) << second.output;
    EXPECT_TRUE(test::contains(second, "0 bodies to index\n0 bodies indexed, 0 words written")) << second.output;
    EXPECT_EQ(indexRows(project), 4);
    EXPECT_EQ(test::runLark("index " + dir.file("none.slk")).status, 1);
    unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
