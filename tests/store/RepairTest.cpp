// Repairing damaged project files: the rows are read from the file's pages
// where SQLite refuses the file, and what could not be read is counted.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "engine.h"
#include "store/DatabaseException.h"
#include "store/ProjectRepair.h"
#include "support/DamagedFiles.h"
#include "support/OpenProject.h"
#include "support/ProjectFiles.h"
#include "support/TempDir.h"
#include "support/UiHostRecorder.h"

namespace fs = std::filesystem;

namespace {

// A project with many strings, bodies that need overflow pages, and links.
void fill(const std::string &path) {
    test::writeProjectFile(path);
    test::executeSql(path, R"(
        INSERT INTO Folders (ParentId, Name) VALUES (1, 'Kept');
        WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000)
        INSERT INTO Strings (Type, Hash, RefCount, String)
          SELECT 1, i, 1, 'http://example.com/page/' || i || '/' || hex(randomblob(40)) FROM n;
        WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200)
        INSERT INTO Res (Body, Hash, Size, ContentType, RefCount)
          SELECT randomblob(9000), i, 9000, 'text/html', 1 FROM n;
        WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000)
        INSERT INTO Rel (ResId, UrlId, PostId, Relation) SELECT i % 200 + 1, i, 0, 1 FROM n;
    )");
}

long long rows(const std::string &path, const std::string &table) {
    return test::queryInteger(path, "SELECT count(*) FROM \"" + table + "\"");
}

// Every row saved is one of the intact file's rows, unchanged, and the
// intact rows not saved are within what the report says may be lost.
void expectFaithful(const eng::RepairReport &report, const std::string &repaired, const std::string &intact) {
    ASSERT_EQ(report.tables.size(), 13u);
    for (const eng::RepairReport::Table &t : report.tables) {
        const long long had = rows(intact, t.name), has = rows(repaired, t.name);
        EXPECT_LE(t.saved, had) << t.name;
        EXPECT_FALSE(t.lostUnbounded) << t.name;
        EXPECT_GE(t.saved + t.lost, had) << t.name << ": more rows are missing than the report says";
        // Rows beyond those saved are the template's, put back where rows were lost.
        EXPECT_GE(has, t.saved) << t.name;
        EXPECT_LE(test::rowsNotIn(repaired, intact, t.name), has - t.saved) << t.name;
    }
    EXPECT_EQ(test::queryText(repaired, "PRAGMA integrity_check"), "ok");
}

const eng::RepairReport::Table &tableOf(const eng::RepairReport &report, const std::string &name) {
    for (const auto &t : report.tables)
        if (t.name == name) return t;
    throw std::runtime_error("no table " + name);
}

// The repaired project opens as the program opens it; a second repair finds it sound and leaves it alone.
void expectOpensAndIsSound(const std::string &path) {
    test::UiHostRecorder ui;
    ASSERT_EQ(Eng_OpenProject(path.c_str(), nullptr, nullptr, nullptr), 0);
    Eng_CloseProject();
    EXPECT_TRUE(ui.messages().empty());
    const std::string bytes = test::fileBytes(path);
    EXPECT_TRUE(eng::repairProject(path).wasSound);
    EXPECT_EQ(test::fileBytes(path), bytes);
}

class Repair : public ::testing::Test {
protected:
    void SetUp() override {
        fill(intact_);
        fs::copy_file(intact_, path_);
    }

    // Repairs the damaged copy; the damaged file must be kept as it was.
    eng::RepairReport repair() {
        const std::string damaged = test::fileBytes(path_);
        eng::RepairReport report = eng::repairProject(path_);
        EXPECT_FALSE(report.wasSound);
        EXPECT_EQ(report.keptAs, path_ + ".damaged");
        EXPECT_EQ(test::fileBytes(report.keptAs), damaged);
        EXPECT_FALSE(fs::exists(path_ + ".repairing"));
        return report;
    }

    test::TempDir dir_;
    const std::string intact_ = dir_.file("intact.slk");
    const std::string path_ = dir_.file("damaged.slk");
};

}  // namespace

TEST_F(Repair, AFileCutInHalfKeepsTheRowsOfTheHalfLeft) {
    test::cutInHalf(path_);
    const eng::RepairReport report = repair();
    expectFaithful(report, path_, intact_);
    EXPECT_EQ(tableOf(report, "Strings").saved, 3000);  // written first: in the first half
    EXPECT_GT(tableOf(report, "Res").saved, 0);
    EXPECT_LT(tableOf(report, "Res").saved, 200);
    EXPECT_EQ(tableOf(report, "Project").saved, 1);
    EXPECT_EQ(test::queryInteger(path_, "SELECT count(*) FROM Folders WHERE Name = 'Kept'"), 1);
    // Keys are never given twice, also those of rows that were lost.
    EXPECT_EQ(test::queryInteger(path_, "SELECT seq FROM sqlite_sequence WHERE name = 'Res'"), 200);
    expectOpensAndIsSound(path_);
}

TEST_F(Repair, PagesOverwrittenWithRandomBytesLoseOnlyTheirRows) {
    ASSERT_EQ(test::overwriteRandomPages(path_, 40, 17).size(), 40u);
    const eng::RepairReport report = repair();
    expectFaithful(report, path_, intact_);
    long long lost = 0;
    for (const auto &t : report.tables) lost += rows(intact_, t.name) - t.saved;
    EXPECT_GT(lost, 0);
    expectOpensAndIsSound(path_);
}

TEST_F(Repair, RowsUnderALostInteriorPageAreFoundInTheirLeaves) {
    const long long root = test::queryInteger(intact_, "SELECT rootpage FROM sqlite_master WHERE name = 'Strings'");
    ASSERT_EQ(test::queryInteger(intact_, "SELECT count(*) FROM dbstat WHERE name = 'Strings' AND pageno = " +
                                              std::to_string(root) + " AND pagetype = 'internal'"),
              1);
    test::overwritePage(path_, static_cast<uint32_t>(root), 5);
    const eng::RepairReport report = repair();
    expectFaithful(report, path_, intact_);
    EXPECT_EQ(tableOf(report, "Strings").saved, 3000);
    EXPECT_EQ(tableOf(report, "Strings").lost, 0);
    EXPECT_EQ(test::rowsNotIn(path_, intact_, "Strings"), 0);
}

TEST_F(Repair, TransactionsCommittedToTheLogAreSaved) {
    // A program that ended without folding its log into the file.
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    ASSERT_EQ(sqlite3_exec(db,
                           "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0; "
                           "INSERT INTO Folders (ParentId, Name) VALUES (1, 'Logged')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    ASSERT_GT(fs::file_size(path_ + "-wal"), 0u);
    const std::string log = test::fileBytes(path_ + "-wal");
    test::cutInHalf(path_);

    const eng::RepairReport report = repair();
    EXPECT_EQ(tableOf(report, "Folders").saved, 3);
    EXPECT_EQ(test::queryInteger(path_, "SELECT count(*) FROM Folders WHERE Name = 'Logged'"), 1);
    EXPECT_EQ(test::fileBytes(report.keptAs + "-wal"), log);  // the log stays with the damaged file
    EXPECT_FALSE(fs::exists(path_ + "-wal"));
}

TEST_F(Repair, ASoundFileIsLeftAsItIs) {
    const std::string bytes = test::fileBytes(path_);
    EXPECT_TRUE(eng::repairProject(path_).wasSound);
    EXPECT_EQ(test::fileBytes(path_), bytes);
    EXPECT_FALSE(fs::exists(path_ + ".damaged"));
}

TEST_F(Repair, AFileWithNothingReadableIsLeftAsItIs) {
    const auto pages = static_cast<uint32_t>(fs::file_size(path_) / 4096);
    for (uint32_t page = 2; page <= pages; ++page) test::overwritePage(path_, page, page);
    const std::string bytes = test::fileBytes(path_);
    try {
        eng::repairProject(path_);
        ADD_FAILURE() << "a file with nothing readable was repaired";
    } catch (const eng::CDatabaseException &e) {
        EXPECT_NE(std::string(e.what()).find("could be read"), std::string::npos) << e.what();
    }
    EXPECT_EQ(test::fileBytes(path_), bytes);
    EXPECT_FALSE(fs::exists(path_ + ".damaged"));
    EXPECT_EQ(Eng_RepairDatabase(path_.c_str()), 0);
}

TEST(RepairRefuses, FilesThatAreNoProjectsAndLeavesThemUntouched) {
    test::TempDir dir;
    for (const std::string &path : test::writeFilesThatAreNoProjects(dir.path())) {
        const std::string bytes = test::fileBytes(path);
        try {
            eng::repairProject(path);
            ADD_FAILURE() << path << " was taken for a project";
        } catch (const eng::CDatabaseException &e) {
            EXPECT_NE(std::string(e.what()).find("is not a Sitelark project"), std::string::npos) << e.what();
        }
        EXPECT_EQ(test::fileBytes(path), bytes) << path;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);
}

TEST(RepairReport, ComesBackThroughTheEngineThreadWithAProjectOpen) {
    test::UiHostRecorder ui;
    test::OpenProject project;
    ASSERT_EQ(project.openResult(), 0);
    test::TempDir dir;
    const std::string other = dir.file("other.slk");
    fill(other);
    test::cutInHalf(other);

    char *report = nullptr;
    ASSERT_EQ(Eng_RepairDatabaseReport(other.c_str(), &report), 1);
    ASSERT_NE(report, nullptr);
    const std::string text = report;
    Eng_FreeMem(report);
    EXPECT_NE(text.find("kept as \"" + other + ".damaged\""), std::string::npos) << text;
    EXPECT_NE(text.find("Strings            3000  none"), std::string::npos) << text;
    EXPECT_NE(text.find("Res  "), std::string::npos) << text;

    // The open project is held by the engine: it is refused, and stays open.
    ASSERT_EQ(Eng_RepairDatabaseReport(project.path().c_str(), &report), 0);
    EXPECT_NE(std::string(report).find("is open in another program"), std::string::npos) << report;
    Eng_FreeMem(report);
    EXPECT_EQ(Eng_IsOpen(), 1);
    EXPECT_TRUE(ui.messages().empty());
}
