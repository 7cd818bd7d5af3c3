#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <string>

#include "engine.h"
#include "support/RunLark.h"
#include "support/TempDir.h"

namespace {

void sql(const std::string &path, const std::string &statement) {
    sqlite3 *db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, statement.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

}  // namespace

TEST(LarkProjects, NewInfoCompactRepair) {
    test::TempDir dir;
    const std::string path = dir.file("site.slk");
    test::LarkResult made = test::runLark("new " + path);
    ASSERT_EQ(made.status, 0) << made.output;
    sql(path,
        "INSERT INTO Folders (ParentId, Name) VALUES (1, 'News'); INSERT INTO Folders (ParentId, Name) "
        "VALUES (2, 'Daily'); INSERT INTO Tasks (FolderId, Name) VALUES (2, 'a'), (2, 'b');");
    test::LarkResult info = test::runLark("info " + path);
    ASSERT_EQ(info.status, 0) << info.output;
    EXPECT_TRUE(test::contains(info, "Version     257"));
    EXPECT_TRUE(test::contains(info, "Tasks       2"));
    EXPECT_TRUE(test::contains(info, "Online      0:00:00\nFolders\n")) << info.output;  // no body of any type
    EXPECT_TRUE(test::contains(info, "Folders\n  Root  [1]\n    News  [2]\n      Daily  [3]\n")) << info.output;
    EXPECT_EQ(test::runLark("compact " + path).status, 0);
    EXPECT_EQ(test::runLark("repair " + path).status, 0);

    test::LarkResult again = test::runLark("new " + path);
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(test::contains(again, "exists already"));
    EXPECT_EQ(test::runLark("new --force " + path).status, 0);
    EXPECT_TRUE(test::contains(test::runLark("info " + path), "Tasks       0"));
}

TEST(LarkProjects, ClearErrorsForFilesThatCannotBeUsed) {
    test::TempDir dir;
    test::LarkResult missing = test::runLark("info " + dir.file("missing.slk"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(test::contains(missing, "no such project file"));

    const std::string text = dir.file("notes.slk");
    std::ofstream(text) << "these are notes, not a project; long enough to fill a header of a database";
    for (const char *command : {"info ", "compact ", "repair "}) {
        test::LarkResult r = test::runLark(command + text);
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_TRUE(test::contains(r, "is not a Sitelark project")) << command << r.output;
    }

    const std::string old = dir.file("old.slk");
    ASSERT_EQ(test::runLark("new " + old).status, 0);
    sql(old, "UPDATE Project SET Version = 256");
    test::LarkResult wrong = test::runLark("info " + old);
    EXPECT_EQ(wrong.status, 1);
    EXPECT_TRUE(test::contains(wrong, "Wrong project version"));

    EXPECT_EQ(test::runLark("info").status, 2);
    EXPECT_EQ(test::runLark("info a b").status, 2);
}

TEST(LarkProjects, AProjectOpenInAnotherProcessIsRefusedAtOnce) {
    test::TempDir dir;
    const std::string path = dir.file("busy.slk");
    ASSERT_EQ(test::runLark("new " + path).status, 0);
    ASSERT_EQ(Eng_OpenProject(path.c_str(), nullptr, nullptr, nullptr), 0);
    for (const char *command : {"info ", "compact ", "new --force "}) {
        test::LarkResult r = test::runLark(command + path);
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_TRUE(test::contains(r, "is open in another program")) << command << r.output;
    }
    Eng_CloseProject();
    EXPECT_EQ(test::runLark("info " + path).status, 0);
}
