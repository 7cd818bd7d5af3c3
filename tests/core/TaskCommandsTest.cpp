#include <gtest/gtest.h>

#include <cstring>

#include "engine.h"
#include "store/CStrTable.h"
#include "support/OpenProject.h"
#include "support/ProjectFiles.h"
#include "support/TaskRecords.h"

using namespace std::chrono_literals;

namespace {

// The notifications posted since the last call, by number (URL resource
// notices with their action), payloads released.
std::vector<uint32_t> notifications(lark::WindowQueue &window) {
    std::vector<uint32_t> out;
    while (auto p = window.take(0ms)) {
        if (p->msg == ENG_NOTIFY_URLRES)
            out.push_back(p->msg * 10 + *reinterpret_cast<uint8_t *>(p->lParam));
        else if (p->msg == ENG_NOTIFY_TASK_ADDED || p->msg == ENG_NOTIFY_TASK_CHANGED)
            out.push_back(p->msg);
    }
    return out;
}

}  // namespace

TEST(Tasks, CreatingATaskAnnouncesItThenItsStartItemThenItsCounters) {
    test::OpenProject project;
    ASSERT_EQ(project.openResult(), 0);
    notifications(project.notifications());
    EngTaskRecord in = test::taskInput("HTTP://Example.COM/start#top", 300, "", "");
    const int32_t id = Eng_CreateTask(&in);
    ASSERT_GT(id, 0);
    // In this order, with the start resource's update (action 2) between the
    // item's announcement and the task's.
    EXPECT_EQ(notifications(project.notifications()),
              (std::vector<uint32_t>{ENG_NOTIFY_TASK_ADDED, ENG_NOTIFY_URLRES * 10 + 1, ENG_NOTIFY_URLRES * 10 + 2,
                                     ENG_NOTIFY_TASK_CHANGED}));
    test::Task t = test::taskById(static_cast<uint32_t>(id));
    EXPECT_EQ(t.url, "http://example.com/start");
    // The records are packed: "+" compares a copy of a field, which a reference could not reach aligned.
    EXPECT_EQ(+t.raw.depth, 255u);
    EXPECT_EQ(+t.raw.state, 4u);
    EXPECT_EQ(+t.raw.queued, 1u);
    EXPECT_GT(+t.raw.created, 0);
    EXPECT_EQ(t.errorText, "Ok.");
    Eng_CloseProject();
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT count(*) FROM Items WHERE TaskId = " + std::to_string(id)), 1);
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT State FROM UrlRes"), 3);
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT RunCount FROM UrlRes"), 1);
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT RefCount FROM UrlRes"), 1);
}

TEST(Tasks, AddressesThatCannotBeFetchedMakeNoTask) {
    test::OpenProject project;
    for (const char *url : {"", "mailto:someone@example.com", "javascript:void(0)", "not an address"}) {
        EngTaskRecord in = test::taskInput(url);
        EXPECT_EQ(Eng_CreateTask(&in), 0) << url;
    }
    EXPECT_EQ(Eng_CreateTask(nullptr), 0);
    Eng_CloseProject();
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT count(*) FROM Tasks"), 0);
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT count(*) FROM Strings"), 0);
}

TEST(Tasks, StopAndRunSwitchOnlyBetweenActiveAndStopped) {
    test::OpenProject project;
    EngTaskRecord in = test::taskInput("http://example.com/");
    const auto id = static_cast<uint32_t>(Eng_CreateTask(&in));
    Eng_RunTask(id);  // already active
    EXPECT_EQ(test::taskById(id).raw.state, 4u);
    Eng_StopTask(id);
    EXPECT_EQ(test::taskById(id).raw.state, 5u);
    Eng_StopTask(id);
    EXPECT_EQ(test::taskById(id).raw.state, 5u);
    Eng_RunTask(id);
    EXPECT_EQ(test::taskById(id).raw.state, 4u);
    Eng_CloseProject();
    EXPECT_EQ(test::queryText(project.path(), "SELECT State || ',' || RunCount FROM UrlRes"), "3,1");
    // A complete task cannot be stopped: there is nothing left to stop.
    test::executeSql(project.path(), "UPDATE Tasks SET State = 2, Queued = 0");
    ASSERT_EQ(Eng_OpenProject(project.path().c_str(), nullptr, nullptr, nullptr), 0);
    Eng_StopTask(id);
    EXPECT_EQ(test::taskById(id).raw.state, 2u);
}

TEST(Tasks, UpdateListsFindAndDelete) {
    test::OpenProject project;
    EngTaskRecord a = test::taskInput("http://example.com/a", 2, "", "Alpha");
    EngTaskRecord b = test::taskInput("http://example.com/b");
    const auto idA = static_cast<uint32_t>(Eng_CreateTask(&a));
    const auto idB = static_cast<uint32_t>(Eng_CreateTask(&b));
    EXPECT_EQ(test::taskById(idA).name, "Alpha");
    EXPECT_FALSE(test::taskById(idA).raw.followRedirects);

    EngTaskRecord changed = test::taskInput("http://example.com/a", 3, "", "Renamed");
    changed.id = idA;
    changed.note = const_cast<char *>("  a note  ");
    changed.folder = 7;
    EXPECT_EQ(Eng_UpdateTask(&changed), 1);
    test::Task t = test::taskById(idA);
    EXPECT_EQ(t.name, "Renamed");
    EXPECT_EQ(t.note, "a note");
    EXPECT_EQ(+t.raw.depth, 3u);
    changed.id = 999;
    EXPECT_EQ(Eng_UpdateTask(&changed), 0);

    auto found = test::tasksFrom(Eng_FindTasks, "http://EXAMPLE.com/b", "");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].raw.id, idB);
    void *addr = nullptr;
    uint32_t len = 0;
    Eng_FindTasks("http://example.com/none", "", &addr, &len);
    EXPECT_EQ(len, 0u);
    EXPECT_EQ(test::tasksFrom(Eng_GetFolderTasks, 7).size(), 1u);
    EXPECT_EQ(test::tasksFrom(Eng_GetFolderTasks, 1).size(), 1u);

    EXPECT_EQ(Eng_DeleteTask(idA), 1);
    EXPECT_EQ(Eng_DeleteTask(idA), 0);
    Eng_GetTaskFromID(idA, &addr, &len);
    EXPECT_EQ(len, 0u);
    Eng_CloseProject();
    // The task's item, resource and strings went with it; the other task's stay.
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT count(*) FROM UrlRes"), 1);
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT count(*) FROM Strings WHERE String LIKE '%/a'"), 0);
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT count(*) FROM Strings WHERE Type = 3"), 0);
}

TEST(Tasks, AStoppedTaskWithANewAddressCountsItsStartResourceOnce) {
    test::OpenProject project;
    EngTaskRecord in = test::taskInput("http://example.com/old");
    const auto id = static_cast<uint32_t>(Eng_CreateTask(&in));
    Eng_StopTask(id);
    EngTaskRecord moved = test::taskInput("http://example.com/new");
    moved.id = id;
    ASSERT_EQ(Eng_UpdateTask(&moved), 1);
    EXPECT_EQ(test::taskById(id).raw.state, 4u);
    // Stopping it again suspends the new start resource.
    Eng_StopTask(id);
    Eng_CloseProject();
    EXPECT_EQ(test::queryText(project.path(), "SELECT State || ',' || RunCount FROM UrlRes"), "5,0");
}

TEST(Tasks, RefreshingEverythingNeedsItems) {
    test::OpenProject project;
    EngTaskRecord in = test::taskInput("http://example.com/");
    const auto id = static_cast<uint32_t>(Eng_CreateTask(&in));
    EXPECT_EQ(Eng_RefreshTask(id, 4), 1);
    EXPECT_EQ(test::taskById(id).raw.queued, 1u);
    EXPECT_EQ(Eng_RefreshTask(999, 4), 0);
    Eng_StopTask(id);
    EXPECT_EQ(Eng_RefreshTask(id, 4), 0);  // a stopped task is left alone
    Eng_CloseProject();
    test::executeSql(project.path(), "DELETE FROM Items");
    ASSERT_EQ(Eng_OpenProject(project.path().c_str(), nullptr, nullptr, nullptr), 0);
    Eng_RunTask(id);
    EXPECT_EQ(Eng_RefreshTask(id, 4), 0);
}

TEST(Tasks, AnAddressWithoutALinkingPageGetsATaskOfItsOwnInTheActiveFolder) {
    test::OpenProject project;
    const int32_t folder = Eng_CreateFolder(1, "Browsed");
    ASSERT_EQ(Eng_SetActiveFolder(static_cast<uint32_t>(folder)), 1);
    EXPECT_EQ(Eng_CreateUrlRes("http://example.com/found", "", 0), 1);
    EXPECT_EQ(Eng_CreateUrlRes("mailto:x@example.com", "", 0), 0);
    auto created = test::tasksFrom(Eng_GetFolderTasks, static_cast<uint32_t>(folder));
    ASSERT_EQ(created.size(), 1u);
    EXPECT_EQ(created[0].url, "http://example.com/found");
    EXPECT_EQ(+created[0].raw.depth, 0u);
    EXPECT_TRUE(created[0].raw.followRedirects);
    EXPECT_EQ(+created[0].raw.acceptableAge, 36000);
    Eng_CloseProject();
    // The project is not running, but the new task is active and holds the
    // resource, so it is queued with a run count rather than suspended.
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT RunCount FROM UrlRes"), 1);
}

TEST(Tasks, AnAddressLinkedFromAFetchedPageJoinsThatPagesTask) {
    test::OpenProject project;
    EngTaskRecord in = test::taskInput("http://example.com/", 3);
    const auto id = static_cast<uint32_t>(Eng_CreateTask(&in));
    Eng_CloseProject();
    // The start page was fetched and links to /next (a plain link) and /pic.gif (an image).
    auto hash = [](const char *text) { return std::to_string(eng::CStrTable::hashOf(text)); };
    test::executeSql(
        project.path(),
        "INSERT INTO Res (ResId, Size, Hash, Type, ContentType, RefCount) VALUES (9, 1, 1, 1, 'text/html', 1);"
        "UPDATE UrlRes SET ResId = 9, State = 2 WHERE UrlResId = 1;"
        "INSERT INTO Strings (StrId, Type, Hash, RefCount, String) VALUES (50, 1, " +
            hash("http://example.com/next") + ", 1, 'http://example.com/next'), (51, 1, " +
            hash("http://example.com/pic.gif") +
            ", 1, 'http://example.com/pic.gif');"
            "INSERT INTO Rel (ResId, UrlId, PostId, Relation) VALUES (9, 50, 0, 0), (9, 51, 0, 1);");
    ASSERT_EQ(Eng_OpenProject(project.path().c_str(), nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(Eng_CreateUrlRes("http://example.com/next", "", 0), 1);
    EXPECT_EQ(Eng_CreateUrlRes("http://example.com/pic.gif", "", id), 1);
    Eng_CloseProject();
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT count(*) FROM Tasks"), 1);
    EXPECT_EQ(
        test::queryText(project.path(),
                        "SELECT group_concat(Level || ':' || Tag) FROM (SELECT Level, Tag FROM Items ORDER BY ItemId)"),
        "0:0,1:0,0:1");
}

TEST(Tasks, RefreshingAndDeletingResourcesKeepTheCountsRight) {
    test::OpenProject project;
    EngTaskRecord in = test::taskInput("http://example.com/", 2);
    const auto id = static_cast<uint32_t>(Eng_CreateTask(&in));
    EXPECT_EQ(Eng_CreateUrlRes("http://example.com/extra", "", id), 1);  // no linking page: a task of its own
    Eng_CloseProject();
    // The start page failed; a second item of the task holds a stored image.
    test::executeSql(project.path(), R"(
        UPDATE UrlRes SET State = 2, Error = 1, StatusCode = 500, LastError = 0, DoneTime = 45000 WHERE UrlResId = 1;
        UPDATE Tasks SET Queued = 0, Retrieved = 1, State = 2, ErrFiles = 1 WHERE TaskId = 1;
        INSERT INTO Strings (StrId, Type, RefCount, String) VALUES (70, 1, 1, 'http://example.com/i.gif');
        INSERT INTO UrlRes (UrlResId, UrlId, State, Url, RefCount, RunCount, DoneTime, Size)
          VALUES (70, 70, 2, 'http://example.com/i.gif', 1, 1, 45000, 10);
        INSERT INTO Items (TaskId, UrlId, UrlResId, Level, Tag) VALUES (1, 70, 70, 0, 1);
        UPDATE Tasks SET Retrieved = 2, Size = 10 WHERE TaskId = 1;
    )");
    ASSERT_EQ(Eng_OpenProject(project.path().c_str(), nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(Eng_RefreshUrlRes(1), 1);
    test::Task t = test::taskById(id);
    EXPECT_EQ(+t.raw.state, 4u);
    EXPECT_EQ(+t.raw.queued, 1u);
    EXPECT_EQ(+t.raw.retrieved, 1u);
    EXPECT_EQ(+t.raw.errorCount, 0u);
    EXPECT_EQ(Eng_RefreshUrlRes(1), 0);  // queued now: nothing to refresh

    EXPECT_EQ(Eng_DeleteUrlRes(1), 0);  // the start page stays
    EXPECT_EQ(Eng_DeleteUrlRes(70), 1);
    t = test::taskById(id);
    EXPECT_EQ(+t.raw.retrieved, 0u);
    EXPECT_EQ(+t.raw.size, 0u);
    Eng_CloseProject();
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT count(*) FROM UrlRes WHERE UrlResId = 70"), 0);
    EXPECT_EQ(test::queryText(project.path(), "SELECT State || ',' || Retries FROM UrlRes WHERE UrlResId = 1"), "3,0");
}

TEST(Tasks, ItemsThatTheFilterRefusedAreCounted) {
    test::OpenProject project;
    EngTaskRecord a = test::taskInput("http://example.com/a");
    EngTaskRecord b = test::taskInput("http://example.com/b");
    const auto idA = static_cast<uint32_t>(Eng_CreateTask(&a));
    const auto idB = static_cast<uint32_t>(Eng_CreateTask(&b));
    EXPECT_EQ(Eng_CountNotAcceptedResources(0), 0);
    Eng_CloseProject();
    test::executeSql(project.path(), "INSERT INTO Items (TaskId, UrlId, UrlResId) VALUES (" + std::to_string(idA) +
                                         ", 1, 0), (" + std::to_string(idA) + ", 1, 0), (" + std::to_string(idB) +
                                         ", 1, 0)");
    ASSERT_EQ(Eng_OpenProject(project.path().c_str(), nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(Eng_CountNotAcceptedResources(0), 3);
    EXPECT_EQ(Eng_CountNotAcceptedResources(idA), 2);
    EXPECT_EQ(Eng_CountNotAcceptedResources(999), 0);
}
