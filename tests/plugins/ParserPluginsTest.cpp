// The parser plug-ins in their helper process, with plug-ins built by the
// tests (plugins/parsers/) put into a Parsers folder under names that order
// them.

#include "plugins/ParserPlugins.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "plugins/ParserHostProtocol.h"
#include "support/Eventually.h"
#include "support/TempDir.h"

namespace {

using namespace std::string_literals;
using namespace std::chrono_literals;

// The helpers this process has started that are running or not yet
// reaped, each with its state ('Z' once it has ended).
std::map<pid_t, char> helpers() {
    std::map<pid_t, char> found;
    for (const auto &entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string name;
        pid_t pid = 0, parent = 0;
        char state = 0;
        if (stat >> pid >> name >> state >> parent && parent == getpid() && name == "(lark-parser-hos)")
            found[pid] = state;
    }
    return found;
}

int helperChildren() { return static_cast<int>(helpers().size()); }

class ParserPluginsTest : public ::testing::Test {
protected:
    // Puts the test plug-in `built` (cpEcho, cpCrash...) into the folder as `name`.
    void install(const std::string &built, const std::string &name) {
        std::filesystem::create_directories(folder_);
        std::filesystem::create_symlink(std::filesystem::path(TEST_PARSERS_DIR) / (built + ".so"), folder_ / name);
    }
    eng::ParserPlugins plugins(std::chrono::milliseconds callLimit = eng::ParserPlugins::kCallLimit) {
        return eng::ParserPlugins(folder_, TEST_PARSER_HOST, callLimit);
    }

    test::TempDir dir_;
    std::filesystem::path folder_ = dir_.path() / "Parsers";
};

// cpEcho answers with what follows the marker; cpBaseLink with one link to
// the base URL, whatever the page.
const std::string kEchoed = "<p>page</p><!--answer-->http://h.test/echo\0\0\0"s;
const std::string kEchoAnswer = "http://h.test/echo\0\0\0"s;
const std::string kBaseAnswer = "http://h.test/dir/#seen\0plugin=base\0\x0c"s;

TEST_F(ParserPluginsTest, WithoutPluginFilesNoHelperStarts) {
    EXPECT_EQ(plugins().ask("http://h.test/", kEchoed), std::nullopt) << "no folder";
    std::filesystem::create_directories(folder_);
    std::ofstream(folder_ / "cpText.txt") << "not a library";
    std::filesystem::create_symlink(std::filesystem::path(TEST_PARSERS_DIR) / "cpEcho.so", folder_ / "echo.so");
    std::filesystem::create_directories(folder_ / "cpFolder.so");
    eng::ParserPlugins none = plugins();
    EXPECT_EQ(none.ask("http://h.test/", kEchoed), std::nullopt);
    EXPECT_EQ(helperChildren(), 0);
}

// The plug-ins are asked in the order of their names; the first that
// answers gives the answer, one that does not answer passes the page on.
TEST_F(ParserPluginsTest, TheFirstAnswerInNameOrderWins) {
    install("cpEcho", "cp1.so");
    install("cpBaseLink", "cp2.so");
    {
        eng::ParserPlugins parsers = plugins();
        EXPECT_EQ(parsers.ask("http://h.test/dir/", kEchoed), kEchoAnswer);
        EXPECT_EQ(parsers.ask("http://h.test/dir/", "<p>no marker</p>"), kBaseAnswer);
        EXPECT_EQ(helperChildren(), 1) << "one helper serves every page";
    }
    EXPECT_EQ(helperChildren(), 0) << "the helper ends with the plug-ins";

    std::filesystem::rename(folder_ / "cp1.so", folder_ / "cp3.so");
    EXPECT_EQ(plugins().ask("http://h.test/dir/", kEchoed), kBaseAnswer);
}

// A library that cannot be loaded or has no entry point is passed over;
// one that crashes counts as no answer, and a new helper asks the next
// plug-in, page after page.
TEST_F(ParserPluginsTest, ACrashingPluginIsNoAnswerAndTheNextIsAsked) {
    install("cpNoEntry", "cp1.so");
    std::ofstream(folder_ / "cp2.so") << "not a library";
    install("cpCrash", "cp3.so");
    install("cpBaseLink", "cp4.so");
    {
        eng::ParserPlugins parsers = plugins();
        for (int page = 0; page < 3; ++page) EXPECT_EQ(parsers.ask("http://h.test/dir/", kEchoed), kBaseAnswer);
    }
    EXPECT_EQ(helperChildren(), 0) << "every helper is reaped";

    std::filesystem::remove(folder_ / "cp4.so");
    eng::ParserPlugins crashing = plugins();
    EXPECT_EQ(crashing.ask("http://h.test/dir/", kEchoed), std::nullopt);
    EXPECT_EQ(crashing.ask("http://h.test/dir/", kEchoed), std::nullopt);
}

// A plug-in that does not return within the call limit (here one second)
// counts as no answer; the next plug-in answers.
TEST_F(ParserPluginsTest, AHangingPluginIsNoAnswerAfterTheLimit) {
    install("cpHang", "cp1.so");
    install("cpEcho", "cp2.so");
    eng::ParserPlugins parsers = plugins(1s);
    EXPECT_EQ(parsers.ask("http://h.test/dir/", kEchoed), kEchoAnswer);
    EXPECT_EQ(helperChildren(), 1);
}

// An answer stream takes no more than the answer's limit; what it took is
// the answer.
TEST_F(ParserPluginsTest, AnAnswerStopsAtItsLimit) {
    install("cpFlood", "cp1.so");
    const auto answer = plugins().ask("http://h.test/dir/", kEchoed);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->size(), eng::parserhost::kAnswerLimit);
    EXPECT_EQ(answer->substr(0, 21), "http://h.test/flood\0\0"s);
}

// A helper that has gone between two pages is replaced before the next
// page, which is offered to every plug-in.
TEST_F(ParserPluginsTest, AHelperThatWentWhileWaitingIsReplaced) {
    install("cpEcho", "cp1.so");
    install("cpBaseLink", "cp2.so");
    eng::ParserPlugins parsers = plugins();
    EXPECT_EQ(parsers.ask("http://h.test/dir/", kEchoed), kEchoAnswer);
    const pid_t helper = helpers().begin()->first;
    kill(helper, SIGKILL);
    ASSERT_TRUE(test::eventually([&] { return helpers()[helper] == 'Z'; }));
    EXPECT_EQ(parsers.ask("http://h.test/dir/", kEchoed), kEchoAnswer);
    EXPECT_EQ(helperChildren(), 1);
}

// A folder whose plug-ins all lack the entry point leaves them unused.
TEST_F(ParserPluginsTest, WithoutEntryPointsNoHelperStays) {
    install("cpNoEntry", "cp1.so");
    eng::ParserPlugins parsers = plugins();
    EXPECT_EQ(parsers.ask("http://h.test/dir/", kEchoed), std::nullopt);
    EXPECT_EQ(helperChildren(), 0);
}

}  // namespace
