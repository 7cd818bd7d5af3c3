#include <gtest/gtest.h>

#include <filesystem>

#include "engine.h"
#include "support/OpenProject.h"
#include "support/ProjectFiles.h"
#include "support/TaskRecords.h"
#include "support/TempDir.h"
#include "support/UiHostRecorder.h"

namespace {

// The tasks, their items and their resources, by content (not by key).
const char *kTasks = R"(SELECT group_concat(line, '|') FROM (SELECT s.String || ',' || t.Levels || ',' || t.State ||
    ',' || t.Queued || ',' || t.Retrieved || ',' || ifnull(t.Name, '') || ',' || ifnull(f.String, '') AS line
    FROM Tasks t JOIN Strings s ON s.StrId = t.UrlId LEFT JOIN Strings f ON f.StrId = t.FilterId ORDER BY s.String))";
const char *kItems = R"(SELECT group_concat(line, '|') FROM (SELECT ts.String || '>' || s.String || ',' || i.Level
    || ',' || i.Tag || ',' || ifnull(u.State, 'none') || ',' || (i.ItemId = t.MainItemId) AS line
    FROM Items i JOIN Tasks t ON t.TaskId = i.TaskId JOIN Strings ts ON ts.StrId = t.UrlId
    JOIN Strings s ON s.StrId = i.UrlId LEFT JOIN UrlRes u ON u.UrlResId = i.UrlResId ORDER BY line))";

}  // namespace

TEST(TaskTransfer, TasksMoveWithTheirItemsAndResources) {
    test::TempDir dir;
    test::OpenProject source;
    EngTaskRecord a = test::taskInput("http://example.com/a", 2, "1;0;0;not *.zip\xFF", "First");
    EngTaskRecord b = test::taskInput("http://example.com/b", 1);
    const uint32_t ids[] = {static_cast<uint32_t>(Eng_CreateTask(&a)), static_cast<uint32_t>(Eng_CreateTask(&b))};
    Eng_StopTask(ids[1]);
    const std::string tasks = dir.file("t.arc"), resources = dir.file("r.arc"), bodies = dir.file("b.arc");
    ASSERT_EQ(Eng_SerializeTask(tasks.c_str(), resources.c_str(), bodies.c_str(), 1, 0, ids, 2), 1);
    Eng_CloseProject();

    const std::string target = dir.file("target.slk");
    test::writeProjectFile(target);
    ASSERT_EQ(Eng_OpenProject(target.c_str(), nullptr, nullptr, nullptr), 0);
    const int32_t folder = Eng_CreateFolder(1, "Imported");
    ASSERT_EQ(Eng_SerializeTask(tasks.c_str(), resources.c_str(), bodies.c_str(), 0, folder, nullptr, 0), 1);
    EXPECT_EQ(test::tasksFrom(Eng_GetFolderTasks, static_cast<uint32_t>(folder)).size(), 2u);
    Eng_CloseProject();

    const std::string before = test::queryText(source.path(), kTasks);
    EXPECT_NE(before.find("http://example.com/a,2,4,1,0,First,1;0;0;not *.zip"), std::string::npos) << before;
    EXPECT_EQ(test::queryText(target, kTasks), before);
    EXPECT_EQ(test::queryText(target, kItems), test::queryText(source.path(), kItems));
    // The stopped task's resource waits suspended; the running one's is queued.
    EXPECT_EQ(test::queryText(target,
                              "SELECT group_concat(State || ':' || RunCount) FROM "
                              "(SELECT State, RunCount FROM UrlRes ORDER BY Url)"),
              "3:1,5:0");
}

TEST(TaskTransfer, AMissingTaskAbortsAndLeavesNoArchiveBehind) {
    test::UiHostRecorder ui;
    test::TempDir dir;
    test::OpenProject source;
    EngTaskRecord a = test::taskInput("http://example.com/a");
    const uint32_t ids[] = {static_cast<uint32_t>(Eng_CreateTask(&a)), 4242};
    const std::string tasks = dir.file("t.arc"), resources = dir.file("r.arc"), bodies = dir.file("b.arc");
    EXPECT_EQ(Eng_SerializeTask(tasks.c_str(), resources.c_str(), bodies.c_str(), 1, 0, ids, 2), 0);
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_EQ(ui.messages().back().text, "Task table serialization error!");
    EXPECT_FALSE(std::filesystem::exists(tasks));
    EXPECT_FALSE(std::filesystem::exists(resources));
    EXPECT_EQ(Eng_SerializeTask(tasks.c_str(), resources.c_str(), dir.file("no/such/dir.arc").c_str(), 1, 0, ids, 1),
              0);
}
