#include "content/CreateFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine.h"
#include "support/TempDir.h"
#include "support/UiHostRecorder.h"

namespace fs = std::filesystem;

TEST(CreateFolder, MakesTheLastFolderOrFindsItThere) {
    test::TempDir dir;
    test::UiHostRecorder ui;
    const std::string folder = dir.file("export");
    EXPECT_TRUE(eng::createFolder(folder, true));
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(eng::createFolder(folder, true));
    EXPECT_TRUE(eng::createFolder(folder + "/", true));
    EXPECT_TRUE(ui.messages().empty());
}

TEST(CreateFolder, ReportsAFailureWithTheEngineMessage) {
    test::TempDir dir;
    test::UiHostRecorder ui;
    const std::string nested = dir.file("missing/child");
    EXPECT_FALSE(eng::createFolder(nested, false));
    EXPECT_TRUE(ui.messages().empty());

    EXPECT_FALSE(eng::createFolder(nested, true));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].caption, "Lark Engine");
    EXPECT_EQ(ui.messages()[0].text, "Cant't create directory " + nested);
    EXPECT_EQ(ui.messages()[0].flags, static_cast<uint32_t>(ENG_MB_ICONEXCLAMATION | ENG_MB_TOPMOST));
    EXPECT_FALSE(fs::exists(dir.file("missing")));
}

TEST(CreateFolder, AFileInTheWayIsNoFolder) {
    test::TempDir dir;
    test::UiHostRecorder ui;
    const std::string file = dir.file("taken");
    std::ofstream(file) << "x";
    EXPECT_FALSE(eng::createFolder(file, false));
}
