// A processor fault inside a command on the engine thread: the process ends
// with the fault's signal after the report is written, and the project,
// opened again, holds every committed change and none of the command's.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "api/EngineProcess.h"
#include "core/CommandTable.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "engine.h"
#include "store/Database.h"
#include "support/ProjectFiles.h"
#include "support/TempDir.h"
#include "sys/CrashGuard.h"

namespace {

enum class Fault { DivideByZero, WriteToLowAddress };

volatile int seven = 7, zero = 0;  // 1 / x would compile to comparisons, not a division
volatile uintptr_t lowAddress = 0x10;

// Stands in for a faulty command: changes the project in its transaction,
// then faults. The test's command table puts it in the ping command's place.
intptr_t faultyCommand(eng::DispatchContext &c, Fault fault) {
    sqlite3_exec(c.engine.database().handle(), "INSERT INTO Folders (ParentId, Name) VALUES (1, 'uncommitted')",
                 nullptr, nullptr, nullptr);
    if (fault == Fault::DivideByZero) return seven / zero;
    *reinterpret_cast<volatile int *>(lowAddress) = 1;
    return 0;
}

// In the child process of the death test: a committed folder, then the fault.
void crashIn(const std::string &project, Fault fault) {
    eng::CommandTable commands = eng::defaultCommandTable();
    commands.set(eng::msg::kPingHosts, {[fault](eng::DispatchContext &c) { return faultyCommand(c, fault); }});
    if (eng::EngineProcess::instance().open(project.c_str(), nullptr, nullptr, nullptr, std::move(commands)) != 0)
        return;
    Eng_CreateFolder(1, "committed");
    Eng_PingHosts("");
}

std::string fileText(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// The folder names of a project, once the engine has opened it again.
std::string folderNames(const std::string &project) {
    EXPECT_EQ(Eng_OpenProject(project.c_str(), nullptr, nullptr, nullptr), 0);
    Eng_CloseProject();
    return test::queryText(project, "SELECT group_concat(Name, ',') FROM (SELECT Name FROM Folders ORDER BY FolderId)");
}

class EngineCrashTest : public ::testing::TestWithParam<Fault> {};

}  // namespace

TEST_P(EngineCrashTest, IsReportedAndTheProjectKeepsWhatWasCommitted) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers take these faults for their own reports";
#endif
    GTEST_FLAG_SET(death_test_style, "fast");
    test::TempDir dir;
    const std::string project = dir.file("crash.slk");
    test::writeProjectFile(project);
    const std::string log = eng::CrashGuard::crashLogPath();
    const std::string before = fileText(log);
    const bool divide = GetParam() == Fault::DivideByZero;

    EXPECT_EXIT(crashIn(project, GetParam()), testing::KilledBySignal(divide ? SIGFPE : SIGSEGV),
                divide ? "critical error in Sitelark Engine: Exception INT_DIVIDE_BY_ZERO \\(0xc0000094\\)"
                       : "ACCESS_VIOLATION \\(0xc0000005\\) at address 0x[0-9a-f]+ trying to write address "
                         "0x0000000000000010");

    const std::string after = fileText(log);
    ASSERT_GT(after.size(), before.size());
    EXPECT_EQ(after.substr(0, before.size()), before);  // appended, never truncated
    const std::string entry = after.substr(before.size());
    EXPECT_NE(entry.find(divide ? "Exception      : c0000094\r\n" : "Exception      : c0000005\r\n"), std::string::npos)
        << entry;
    EXPECT_NE(entry.find(divide ? "Signal         : SIGFPE" : "Access Type    : write"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("Stack Trace    : 0000000000000000"), std::string::npos) << "no return address found\n"
                                                                                  << entry;
    EXPECT_EQ(folderNames(project), "Root,committed");
}

INSTANTIATE_TEST_SUITE_P(Faults, EngineCrashTest, testing::Values(Fault::DivideByZero, Fault::WriteToLowAddress),
                         [](const testing::TestParamInfo<Fault> &info) {
                             return info.param == Fault::DivideByZero ? "DivideByZero" : "WriteToLowAddress";
                         });
