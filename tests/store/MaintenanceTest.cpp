#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine.h"
#include "support/OpenProject.h"
#include "support/ProjectFiles.h"
#include "support/TempDir.h"
#include "support/UiHostRecorder.h"

namespace fs = std::filesystem;

namespace {

// A project with many strings, most of them deleted again.
void fillAndThinOut(const std::string &path) {
    test::executeSql(path, R"(
        WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 4000)
        INSERT INTO Strings (Type, Hash, RefCount, String)
          SELECT 1, i, 1, 'http://example.com/' || i || '/' || hex(randomblob(80)) FROM n;
        DELETE FROM Strings WHERE StrId % 10 <> 0;
    )");
}

}  // namespace

TEST(Maintenance, CompactionShrinksTheFileAndTheProjectStillOpens) {
    test::UiHostRecorder ui;
    test::TempDir dir;
    const std::string path = dir.file("big.slk");
    test::writeProjectFile(path);
    fillAndThinOut(path);
    const auto before = fs::file_size(path);
    EXPECT_EQ(Eng_CompactDatabase(path.c_str()), 1);
    EXPECT_LT(fs::file_size(path), before / 3);
    EXPECT_FALSE(fs::exists(path + "_tmp"));
    EXPECT_FALSE(fs::exists(path + "-wal"));
    EXPECT_EQ(test::queryInteger(path, "SELECT count(*) FROM Strings"), 400);
    ASSERT_EQ(Eng_OpenProject(path.c_str(), nullptr, nullptr, nullptr), 0);
    Eng_CloseProject();
    EXPECT_TRUE(ui.messages().empty());
}

TEST(Maintenance, CompactionOfWhatCannotBeOpenedAnswersZeroSilently) {
    test::UiHostRecorder ui;
    test::TempDir dir;
    EXPECT_EQ(Eng_CompactDatabase(dir.file("missing.slk").c_str()), 0);
    const std::string text = dir.file("text.slk");
    std::ofstream(text) << "plain text, not a database at all, long enough to have a header page";
    EXPECT_EQ(Eng_CompactDatabase(text.c_str()), 0);
    EXPECT_EQ(Eng_RepairDatabase(text.c_str()), 0);
    EXPECT_EQ(Eng_RepairDatabase(dir.file("missing.slk").c_str()), 0);
    EXPECT_FALSE(fs::exists(dir.file("missing.slk")));  // nothing was created
    EXPECT_EQ(std::ifstream(text).get(), 'p');          // nothing was replaced
    EXPECT_TRUE(ui.messages().empty());
}

TEST(Maintenance, WithAProjectOpenOtherFilesCompactButTheOpenOneDoesNot) {
    test::UiHostRecorder ui;
    test::OpenProject project;
    ASSERT_EQ(project.openResult(), 0);
    test::TempDir dir;
    const std::string other = dir.file("other.slk");
    test::writeProjectFile(other);
    fillAndThinOut(other);
    EXPECT_EQ(Eng_CompactDatabase(other.c_str()), 1);
    EXPECT_EQ(Eng_RepairDatabase(other.c_str()), 1);
    EXPECT_EQ(Eng_CompactDatabase(project.path().c_str()), 0);
    EXPECT_EQ(Eng_IsOpen(), 1);
    EXPECT_TRUE(ui.messages().empty());
}
