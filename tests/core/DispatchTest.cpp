#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "api/EngineProcess.h"
#include "base/EngineException.h"
#include "core/CallFrame.h"
#include "core/Engine.h"
#include "core/EngineRegistry.h"
#include "core/Messages.h"
#include "engine.h"
#include "store/Database.h"
#include "support/Eventually.h"
#include "support/OpenProject.h"
#include "support/ProjectFiles.h"
#include "support/UiHostRecorder.h"
#include "sys/Event.h"

using namespace std::chrono_literals;
using eng::CommandEntry;
using eng::DispatchContext;
namespace msg = eng::msg;

namespace {

using Entry = CommandEntry;

CommandEntry exportEntry(std::function<intptr_t(DispatchContext &)> handler,
                         Entry::Frame frame = Entry::Frame::InLParam) {
    return CommandEntry{std::move(handler), Entry::Caller::Export, frame, Entry::Phase::InTransaction};
}

CommandEntry internalEntry(std::function<intptr_t(DispatchContext &)> handler) {
    return CommandEntry{std::move(handler), Entry::Caller::Internal, Entry::Frame::None, Entry::Phase::InTransaction};
}

void postToEngine(uint32_t message, intptr_t lParam = 0) {
    ASSERT_TRUE(eng::EngineRegistry::instance().withEngine([&](eng::Engine &e) {
        e.queue().post(eng::Message{message, 0, lParam});
    }));
}

struct Journal {
    std::mutex mutex;
    std::vector<std::string> entries;
    void add(std::string e) {
        std::lock_guard lock(mutex);
        entries.push_back(std::move(e));
    }
    size_t size() {
        std::lock_guard lock(mutex);
        return entries.size();
    }
};

}  // namespace

TEST(Dispatch, CommandsAreTakenBeforeWaitingCompletions) {
    Journal journal;
    eng::Event entered(eng::Event::Reset::Manual);
    eng::Event gate(eng::Event::Reset::Manual);
    eng::CommandTable table;
    table.set(msg::kGetStatistics, exportEntry([&](DispatchContext &) {
                  entered.set();
                  gate.wait();
                  journal.add("first command");
                  return intptr_t{0};
              }));
    table.set(msg::kDownloadDone, internalEntry([&](DispatchContext &c) {
                  journal.add("completion " + std::to_string(c.message.lParam));
                  return intptr_t{0};
              }));
    table.set(msg::kGetFolder, internalEntry([&](DispatchContext &) {
                  journal.add("later command");
                  return intptr_t{0};
              }));
    test::OpenProject project(table);
    ASSERT_EQ(project.openResult(), 0);

    std::thread caller([] { Eng_GetStatistics(nullptr, nullptr); });
    ASSERT_TRUE(entered.waitFor(5s));
    postToEngine(msg::kDownloadDone, 1);
    postToEngine(msg::kDownloadDone, 2);
    postToEngine(msg::kGetFolder);
    gate.set();
    caller.join();
    ASSERT_TRUE(test::eventually([&] { return journal.size() == 4; }));
    EXPECT_EQ(journal.entries,
              (std::vector<std::string>{"first command", "later command", "completion 1", "completion 2"}));
}

TEST(Dispatch, FailingCommandWakesItsCallerWithZeroAndAnEmptyAnswer) {
    test::UiHostRecorder ui;
    eng::CommandTable table;
    table.set(msg::kGetFolder, exportEntry([](DispatchContext &c) -> intptr_t {
                  c.frame->stream.truncate();
                  c.frame->stream.writeStrRef("half of a record");
                  c.frame->result = 5;
                  throw eng::CEngineException(std::string(300, 'e'));
              }));
    table.set(msg::kDeleteFolder, exportEntry([](DispatchContext &) -> intptr_t { throw 42; }));
    test::OpenProject project(table);
    ASSERT_EQ(project.openResult(), 0);

    void *addr = reinterpret_cast<void *>(1);
    uint32_t len = 1;
    Eng_GetFolder(1, &addr, &len);
    EXPECT_EQ(addr, nullptr);
    EXPECT_EQ(len, 0u);
    EXPECT_EQ(Eng_DeleteFolder(3), 0);

    auto shown = ui.messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].caption, "Lark Engine");
    EXPECT_EQ(shown[0].flags, ENG_MB_ICONEXCLAMATION | ENG_MB_TOPMOST);
    EXPECT_EQ(shown[0].text, std::string(255, 'e'));  // at most 255 characters
    EXPECT_EQ(shown[1].text, "Unknown error occured.");
}

TEST(Dispatch, FailingInternalMessageWakesNobody) {
    test::UiHostRecorder ui;
    eng::CommandTable table;
    table.set(msg::kTaskChanged,
              internalEntry([](DispatchContext &) -> intptr_t { throw eng::CEngineException("internal trouble"); }));
    table.set(msg::kDeleteFolder, exportEntry([](DispatchContext &c) {
                  std::this_thread::sleep_for(200ms);
                  c.frame->result = 42;
                  return intptr_t{0};
              }));
    test::OpenProject project(table);
    ASSERT_EQ(project.openResult(), 0);
    postToEngine(msg::kTaskChanged);
    ASSERT_TRUE(test::eventually([&] { return !ui.messages().empty(); }));
    EXPECT_EQ(ui.messages()[0].text, "internal trouble");
    // Had the failure set the completion event, this call would return at
    // once, before its handler had stored 42.
    EXPECT_EQ(Eng_DeleteFolder(1), 42);
}

TEST(Dispatch, EachMessageIsOneTransactionAndNestedDispatchRollsBackAlone) {
    test::UiHostRecorder ui;
    auto insert = [](DispatchContext &c, int value) {
        c.engine.database().execute("INSERT INTO Probe VALUES(" + std::to_string(value) + ")");
    };
    eng::CommandTable table;
    table.set(msg::kTaskAdded, internalEntry([&](DispatchContext &c) -> intptr_t {
                  insert(c, 100);
                  throw eng::CEngineException("nested failure");
              }));
    table.set(msg::kCreateFolder, exportEntry([&](DispatchContext &c) {
                  insert(c, 1);
                  c.engine.send(msg::kTaskAdded);  // its row is rolled back, ours stays
                  insert(c, 2);
                  c.frame->result = 1;
                  return intptr_t{0};
              }));
    table.set(msg::kDeleteFolder, exportEntry([&](DispatchContext &c) -> intptr_t {
                  insert(c, 3);
                  throw eng::CEngineException("command failure");
              }));
    test::OpenProject project(table);
    ASSERT_EQ(project.openResult(), 0);
    Eng_CloseProject();
    test::executeSql(project.path(), "CREATE TABLE Probe(v INTEGER)");
    ASSERT_EQ(eng::EngineProcess::instance().open(project.path().c_str(), nullptr, nullptr, nullptr, table), 0);

    EXPECT_EQ(Eng_CreateFolder(1, "a"), 1);
    EXPECT_EQ(Eng_DeleteFolder(1), 0);
    Eng_CloseProject();
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT group_concat(v) = '1,2' FROM Probe"), 1);
    auto shown = ui.messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "nested failure");
    EXPECT_EQ(shown[1].text, "command failure");
}

TEST(Dispatch, FramelessCommandsCarryTheirValueInLParam) {
    std::atomic<intptr_t> seen{0};
    eng::CommandTable table;
    table.set(msg::kStopTask, exportEntry(
                                  [&](DispatchContext &c) {
                                      EXPECT_EQ(c.frame, nullptr);
                                      seen = c.message.lParam;
                                      return intptr_t{0};
                                  },
                                  Entry::Frame::None));
    test::OpenProject project(table);
    Eng_StopTask(31337);
    EXPECT_EQ(seen, 31337);
}

TEST(Dispatch, NotificationWindowGetsStatisticsAtOpenAndNothingWhenThereIsNone) {
    {
        test::OpenProject project;
        ASSERT_EQ(project.openResult(), 0);
        auto first = project.notifications().take(1s);
        ASSERT_TRUE(first);
        EXPECT_EQ(first->msg, ENG_NOTIFY_STATISTICS);
        EXPECT_EQ(first->wParam, sizeof(EngStatisticsRecord));
    }
    test::OpenProject silent(eng::defaultCommandTable(), false);
    ASSERT_EQ(silent.openResult(), 0);
    Eng_CloseProject();
    EXPECT_EQ(silent.notifications().size(), 0u);
}

TEST(Dispatch, AfterCommitCommandsRunOutsideTheTransaction) {
    std::atomic<int> depth{-1};
    eng::CommandTable table;
    table.set(msg::kCompactDatabase,
              CommandEntry{[&](DispatchContext &c) {
                               depth = c.engine.database().transactionDepth();
                               c.frame->result = 1;
                               return intptr_t{0};
                           },
                           Entry::Caller::Export, Entry::Frame::InLParam, Entry::Phase::AfterCommit});
    test::OpenProject project(table);
    EXPECT_EQ(Eng_CompactDatabase("/elsewhere.slk"), 1);
    EXPECT_EQ(depth, 0);
}
