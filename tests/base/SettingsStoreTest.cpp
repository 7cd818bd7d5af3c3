#include "base/SettingsStore.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/TempDir.h"

namespace {
std::string contents(const std::string &path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
}  // namespace

TEST(SettingsStore, WritesAndReadsNumbersInTheProductGroup) {
    test::TempDir dir;
    eng::SettingsStore store(dir.file("sub/Quenmar/Lark.conf"));
    EXPECT_FALSE(store.readNumber("IndexWordsPerSec"));
    ASSERT_TRUE(store.writeNumber("IndexWordsPerSec", 52000));
    ASSERT_TRUE(store.writeNumber("ExtractWordsPerSec", 7));
    ASSERT_TRUE(store.writeNumber("IndexWordsPerSec", 61000));
    EXPECT_EQ(store.readNumber("IndexWordsPerSec"), 61000u);
    EXPECT_EQ(store.readNumber("ExtractWordsPerSec"), 7u);
    EXPECT_EQ(contents(store.file()), "[Software\\Quenmar\\Lark]\nIndexWordsPerSec=61000\nExtractWordsPerSec=7\n");
}

TEST(SettingsStore, KeepsWhatTheApplicationWrote) {
    test::TempDir dir;
    const std::string file = dir.file("Lark.conf");
    std::ofstream(file) << "[General]\nIndexWordsPerSec=1\n\n[Software\\Quenmar\\Lark]\nRecent1=/home/a.slk\n"
                           "Junk = not a number\n\n[Other]\nx=y\n";
    eng::SettingsStore store(file);
    EXPECT_FALSE(store.readNumber("IndexWordsPerSec"));  // another group's value
    EXPECT_FALSE(store.readNumber("Junk"));
    EXPECT_EQ(store.read("Junk"), "not a number");
    ASSERT_TRUE(store.writeNumber("IndexWordsPerSec", 9));
    EXPECT_EQ(contents(file),
              "[General]\nIndexWordsPerSec=1\n\n[Software\\Quenmar\\Lark]\nRecent1=/home/a.slk\n"
              "Junk = not a number\nIndexWordsPerSec=9\n\n[Other]\nx=y\n");
}

TEST(SettingsStore, FailureToWriteIsReportedNotThrown) {
    eng::SettingsStore store("/proc/no/such/place/Lark.conf");
    EXPECT_FALSE(store.writeNumber("IndexWordsPerSec", 1));
    EXPECT_FALSE(store.readNumber("IndexWordsPerSec"));
}

TEST(SettingsStore, DefaultFileFollowsTheConfigHome) {
    const char *home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    const char *config = std::getenv("XDG_CONFIG_HOME");
    const std::string savedConfig = config ? config : "";
    setenv("XDG_CONFIG_HOME", "/tmp/cfg-home", 1);
    EXPECT_EQ(eng::SettingsStore::defaultFile(), "/tmp/cfg-home/Quenmar/Lark.conf");
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(eng::SettingsStore::defaultFile(), "/home/someone/.config/Quenmar/Lark.conf");
    setenv("HOME", savedHome.c_str(), 1);
    if (config) setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
}
