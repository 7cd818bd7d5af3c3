#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "base/EngineException.h"
#include "core/Messages.h"
#include "engine.h"
#include "support/OpenProject.h"
#include "support/ProjectFiles.h"
#include "support/TempDir.h"
#include "support/UiHostRecorder.h"

namespace {

void *const kUntouched = reinterpret_cast<void *>(0x5A5A);
constexpr uint32_t kUntouchedLength = 0xA5A5;

// Calls an out-buffer export and checks that it left both cells alone.
template <class F>
void expectCellsUntouched(const char *name, F call) {
    void *addr = kUntouched;
    uint32_t len = kUntouchedLength;
    call(&addr, &len);
    EXPECT_EQ(addr, kUntouched) << name;
    EXPECT_EQ(len, kUntouchedLength) << name;
}

}  // namespace

TEST(Exports, ClosedValuesOfEveryExport) {
    ASSERT_EQ(Eng_IsOpen(), 0);
    test::UiHostRecorder ui;
    EXPECT_EQ(Eng_CloseProject(), -1);
    EXPECT_EQ(Eng_IsOnline(), 0);
    EXPECT_EQ(Eng_CreateTask(nullptr), -1);
    EXPECT_EQ(Eng_Run(), -1);
    EXPECT_EQ(Eng_Stop(), -1);
    EXPECT_EQ(Eng_GetProjectProp(nullptr, nullptr), -1);
    EXPECT_EQ(Eng_CreateFolder(1, "x"), -1);
    EXPECT_EQ(Eng_SetProjectProp("", 0), 0);
    EXPECT_EQ(Eng_SetActiveFolder(3), 0);
    EXPECT_EQ(Eng_RenameFolder(1, "x"), 0);
    EXPECT_EQ(Eng_DeleteFolder(2), 0);
    EXPECT_EQ(Eng_MoveFolder(2, 1), 0);
    EXPECT_EQ(Eng_SearchItems(-1, "", 0, "", "", 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr), 0);
    EXPECT_EQ(Eng_RefreshUrlRes(1), 0);
    EXPECT_EQ(Eng_ExportDatabase("/tmp/x", 0, 0), 0);
    EXPECT_EQ(Eng_IndexDatabase(), 0);
    EXPECT_EQ(Eng_ExportTask("/tmp/x", 1, 0, 0), 0);
    EXPECT_EQ(Eng_DeleteTask(1), 0);
    EXPECT_EQ(Eng_PingHosts("h"), 0);
    EXPECT_EQ(Eng_UpdateTask(nullptr), 0);
    EXPECT_EQ(Eng_ExportRes("/tmp/x", 1, 0, 0), 0);
    EXPECT_EQ(Eng_KivAbortWaiting(5), 0);
    EXPECT_EQ(Eng_DeleteUrlRes(5), 0);
    EXPECT_EQ(Eng_CreateUrlRes("http://a/", "", 1), 0);
    EXPECT_EQ(Eng_RefreshTask(1, 0), 0);
    EXPECT_EQ(Eng_SerializeTask("a", "b", "c", 1, 1, nullptr, 0), 0);
    EXPECT_EQ(Eng_SerializeUrlres("a", "b", 1, nullptr, 0), 0);
    EXPECT_EQ(Eng_RefreshUrlRes2(1, "http://a/", "", 0), 0);
    EXPECT_EQ(Eng_RefreshPrj(0), 0);
    EXPECT_EQ(Eng_CountRefreshable(0), 0);
    EXPECT_EQ(Eng_ValidateQuery("a", 1), 0);
    char *report = reinterpret_cast<char *>(kUntouched);
    EXPECT_EQ(Eng_TestFilter("", "http://a/", 0, &report), 0);
    EXPECT_EQ(report, kUntouched);
    EXPECT_EQ(Eng_CountNotAcceptedResources(0), 0);

    expectCellsUntouched("GetSubFolders", [](void **a, uint32_t *l) { Eng_GetSubFolders(1, a, l); });
    expectCellsUntouched("GetFolderTasks", [](void **a, uint32_t *l) { Eng_GetFolderTasks(1, a, l); });
    expectCellsUntouched("GetBody", [](void **a, uint32_t *l) { Eng_GetBody("u", "", 0, 0, 0, a, l); });
    expectCellsUntouched("GetItemFromUrl", [](void **a, uint32_t *l) { Eng_GetItemFromUrl("u", "", 0, 0, a, l); });
    expectCellsUntouched("GetRelItems", [](void **a, uint32_t *l) { Eng_GetRelItems(1, 0, a, l); });
    expectCellsUntouched("GetTaskFromID", [](void **a, uint32_t *l) { Eng_GetTaskFromID(1, a, l); });
    expectCellsUntouched("GetTaskItems", [](void **a, uint32_t *l) { Eng_GetTaskItems(1, a, l); });
    expectCellsUntouched("GetFolder", [](void **a, uint32_t *l) { Eng_GetFolder(1, a, l); });
    expectCellsUntouched("GetStatistics", [](void **a, uint32_t *l) { Eng_GetStatistics(a, l); });
    expectCellsUntouched("FindTaskItem", [](void **a, uint32_t *l) { Eng_FindTaskItem(1, 1, a, l); });
    expectCellsUntouched("GetSource", [](void **a, uint32_t *l) { Eng_GetSource(1, a, l); });
    expectCellsUntouched("FindTasks", [](void **a, uint32_t *l) { Eng_FindTasks("u", "", a, l); });
    expectCellsUntouched("GetItemFromUrlResID", [](void **a, uint32_t *l) { Eng_GetItemFromUrlResID(1, a, l); });
    expectCellsUntouched("GetPingSocketsState", [](void **a, uint32_t *l) { Eng_GetPingSocketsState(a, l); });
    expectCellsUntouched("GetProjectFigures", [](void **a, uint32_t *l) { Eng_GetProjectFigures(a, l); });
    expectCellsUntouched("GetStoredLinks",
                         [](void **a, uint32_t *l) { EXPECT_EQ(Eng_GetStoredLinks("u", "", a, l), ENG_NOT_OPEN); });
    uint32_t count = 77, size = 88;
    Eng_CountNotIndexedResources(&count, &size);
    EXPECT_EQ(count, 77u);
    EXPECT_EQ(size, 88u);
    Eng_AbortConnection(1);
    Eng_StopTask(1);
    Eng_RunTask(1);
    Eng_ResetProgress();
    Eng_BeforeNavigate("http://a/", nullptr);
    Eng_FreeMem(nullptr);
    // Nothing reached the engine, so nothing was shown.
    EXPECT_TRUE(ui.messages().empty());
}

TEST(Exports, VersionWorksOpenOrClosed) {
    char *cell = nullptr;
    char *version = Eng_GetVersion(&cell);
    EXPECT_EQ(version, cell);
    EXPECT_STREQ(version, "1.0.4.0");
    Eng_FreeMem(version);
    Eng_FreeMem(Eng_GetVersion(nullptr));
}

TEST(Exports, OrdinalTableBindsTheOfflineHandlersFunctions) {
    std::set<uint32_t> seen;
    uint32_t previous = 0;
    size_t entries = 0;
    for (const EngOrdinal *o = Eng_Ordinals; o->ordinal != 0; ++o, ++entries) {
        EXPECT_GT(o->ordinal, previous);
        EXPECT_NE(o->function, nullptr);
        previous = o->ordinal;
        seen.insert(o->ordinal);
    }
    EXPECT_EQ(entries, 59u);
    auto find = [](uint32_t ordinal) {
        for (const EngOrdinal *o = Eng_Ordinals; o->ordinal; ++o)
            if (o->ordinal == ordinal) return o->function;
        return static_cast<void (*)(void)>(nullptr);
    };
    EXPECT_EQ(find(18), reinterpret_cast<void (*)(void)>(Eng_FreeMem));
    EXPECT_EQ(find(21), reinterpret_cast<void (*)(void)>(Eng_GetBody));
    EXPECT_EQ(find(43), reinterpret_cast<void (*)(void)>(Eng_KivAbortWaiting));
    EXPECT_EQ(find(59), reinterpret_cast<void (*)(void)>(Eng_RefreshUrlRes2));
    EXPECT_EQ(find(69), reinterpret_cast<void (*)(void)>(Eng_GetVersion));
    EXPECT_EQ(find(11), nullptr);
}

TEST(Exports, OpenTwiceKeepsTheFirstProject) {
    test::OpenProject project;
    ASSERT_EQ(project.openResult(), 0);
    EXPECT_EQ(Eng_IsOpen(), 1);
    test::TempDir other;
    const std::string second = other.file("second.slk");
    test::writeProjectFile(second);
    EXPECT_EQ(Eng_OpenProject(second.c_str(), nullptr, nullptr, nullptr), -2);
    EXPECT_EQ(Eng_IsOpen(), 1);
    EXPECT_EQ(Eng_SetActiveFolder(7), 1);
    // The second file was not touched: another connection can still read it.
    EXPECT_EQ(test::queryInteger(second, "SELECT Version FROM Project"), 257);
    EXPECT_EQ(Eng_CloseProject(), 0);
    EXPECT_EQ(Eng_IsOpen(), 0);
    EXPECT_EQ(Eng_CloseProject(), -1);
}

TEST(Exports, FilesThatAreNotProjectsFailWithTheEnginesMessage) {
    test::UiHostRecorder ui;
    test::TempDir dir;
    const std::string text = dir.file("notes.slk");
    std::ofstream(text) << "this is not a database, just some text that is long enough to have a header\n";
    const std::string old = dir.file("old.slk");
    test::writeProjectFile(old, 256);
    const std::string newer = dir.file("newer.slk");
    test::writeProjectFile(newer, 258);
    const std::string foreign = dir.file("foreign.slk");
    test::executeSql(foreign, "CREATE TABLE Other(x); PRAGMA user_version=3;");

    for (const std::string &path : {text, old, newer, foreign, dir.file("missing.slk")}) {
        ui.clear();
        EXPECT_EQ(Eng_OpenProject(path.c_str(), nullptr, nullptr, nullptr), -3) << path;
        EXPECT_EQ(Eng_IsOpen(), 0);
        auto shown = ui.messages();
        ASSERT_EQ(shown.size(), 1u) << path;
        EXPECT_EQ(shown[0].caption, "Lark Engine");
        EXPECT_EQ(shown[0].flags, ENG_MB_ICONEXCLAMATION | ENG_MB_TOPMOST);
    }
    ui.clear();
    Eng_OpenProject(old.c_str(), nullptr, nullptr, nullptr);
    EXPECT_EQ(ui.messages().at(0).text, "Wrong project version");
    Eng_OpenProject(foreign.c_str(), nullptr, nullptr, nullptr);
    EXPECT_EQ(ui.messages().at(1).text, "Wrong project version");
    // A refused file is left as it was: still in rollback-journal mode
    // (header bytes 18 and 19 are 2 once a file has been switched to WAL).
    std::ifstream header(foreign, std::ios::binary);
    char bytes[20] = {};
    header.read(bytes, sizeof bytes);
    EXPECT_EQ(bytes[18], 1);
    EXPECT_EQ(bytes[19], 1);

    // A later open of a good project works.
    const std::string good = dir.file("good.slk");
    test::writeProjectFile(good);
    EXPECT_EQ(Eng_OpenProject(good.c_str(), nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(Eng_CloseProject(), 0);
}

TEST(Exports, OpenProjectIsHeldExclusively) {
    test::OpenProject project;
    ASSERT_EQ(project.openResult(), 0);
    EXPECT_THROW(test::queryInteger(project.path(), "SELECT Version FROM Project"), std::exception);
    Eng_CloseProject();
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT Version FROM Project"), 257);
}

TEST(Exports, FailingCommandAnswersZeroAndShowsWhy) {
    test::UiHostRecorder ui;
    eng::CommandTable commands = eng::defaultCommandTable();
    commands.set(eng::msg::kDeleteTask, {[](eng::DispatchContext &) -> intptr_t {
                     throw eng::CEngineException("the task could not be deleted");
                 }});
    test::OpenProject project(commands);
    ASSERT_EQ(project.openResult(), 0);
    EXPECT_EQ(Eng_DeleteTask(1), 0);
    auto shown = ui.messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Lark Engine");
    EXPECT_EQ(shown[0].text, "the task could not be deleted");
}
