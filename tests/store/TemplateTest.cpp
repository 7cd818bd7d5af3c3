#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "ProjectTemplate.h"
#include "store/Database.h"
#include "store/ProjectTables.h"
#include "support/ProjectFiles.h"
#include "support/TempDir.h"

namespace {

std::vector<std::string> texts(eng::Database &db, const std::string &sql) {
    eng::Statement s = db.prepare(sql);
    std::vector<std::string> out;
    while (s.step()) out.push_back(s.text(0));
    return out;
}

}  // namespace

TEST(Template, NewProjectIsTheTemplateByteForByte) {
    test::TempDir dir;
    const std::string path = dir.file("new.slk");
    eng::writeNewProject(path);
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto expected = eng::projectTemplate();
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), expected.begin(), expected.end()));
}

TEST(Template, FreshProjectHoldsExactlyTheInitialRows) {
    test::TempDir dir;
    const std::string path = dir.file("new.slk");
    eng::writeNewProject(path);
    eng::Database db(path);
    EXPECT_EQ(texts(db,
                    "SELECT NoteId || ',' || UsrData || ',' || ifnull(OnlineTime, 'null') || ',' || "
                    "PrjFilterId || ',' || Version || ',' || OptionsFlags FROM Project"),
              std::vector<std::string>{"0,0,null,0,257,0"});
    EXPECT_EQ(texts(db, "SELECT FolderId || ',' || ParentId || ',' || Name FROM Folders"),
              std::vector<std::string>{"1,0,Root"});
    auto noise = texts(db, "SELECT Word FROM NoiseWords ORDER BY rowid");
    ASSERT_EQ(noise.size(), 141u);
    EXPECT_EQ(noise.front(), "about");
    EXPECT_EQ(noise[4], "an");
    EXPECT_EQ(noise.back(), "is");
    EXPECT_EQ(std::count(noise.begin(), noise.end(), "where"), 2);
    EXPECT_EQ(std::count(noise.begin(), noise.end(), "througt"), 1);
    EXPECT_EQ(std::count(noise.begin(), noise.end(), "j"), 0);
    EXPECT_EQ(std::count(noise.begin(), noise.end(), "$"), 1);
    for (const char *table :
         {"Tasks", "UrlRes", "Items", "Res", "Rel", "Strings", "StrChunks", "Auth", "Index", "Title_Index"}) {
        EXPECT_EQ(texts(db, std::string("SELECT count(*) FROM \"") + table + "\""), std::vector<std::string>{"0"})
            << table;
    }
    EXPECT_EQ(texts(db, "PRAGMA journal_mode"), std::vector<std::string>{"wal"});
}

TEST(Template, EveryNamedIndexExists) {
    test::TempDir dir;
    const std::string path = dir.file("new.slk");
    eng::writeNewProject(path);
    eng::Database db(path);
    auto names = texts(db, "SELECT name FROM sqlite_master WHERE type = 'index' AND name NOT LIKE 'sqlite_%'");
    const std::set<std::string> expected{"Folders.ParentId", "Tasks.FolderId",   "Tasks.UrlId",
                                         "UrlRes.Hash",      "UrlRes.ResId",     "UrlRes.StatePriority",
                                         "UrlRes.UrlRes",    "Items.TaskLevel",  "Items.TaskUrl",
                                         "Items.UrlResId",   "Res.SizeHash",     "Rel.ResId",
                                         "Rel.UrlId",        "Strings.TypeHash", "StrChunks.ChunksStrId",
                                         "StrChunks.StrId",  "Auth.PrimaryKey",  "Title_Index.PrimaryKey",
                                         "Index.Word",       "Title_Index.Word"};
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
    // Descending columns are part of the index definitions.
    EXPECT_NE(texts(db, "SELECT sql FROM sqlite_master WHERE name = 'UrlRes.StatePriority'")[0].find("Priority DESC"),
              std::string::npos);
    EXPECT_NE(texts(db, "SELECT sql FROM sqlite_master WHERE name = 'UrlRes.UrlRes'")[0].find("DoneTime DESC"),
              std::string::npos);
}

TEST(Template, YesNoColumnsStartFalseAndEmptyTextIsRefusedWhereTheSchemaSaysSo) {
    test::TempDir dir;
    const std::string path = dir.file("new.slk");
    eng::writeNewProject(path);
    test::executeSql(path, "INSERT INTO Tasks (Name) VALUES ('t')");
    EXPECT_EQ(test::queryInteger(path, "SELECT LowGraphics + Error + RedirectUrl + AutoName FROM Tasks"), 0);
    EXPECT_EQ(test::queryInteger(path, "SELECT count(*) FROM Tasks WHERE Error = false"), 1);
    EXPECT_THROW(test::executeSql(path, "INSERT INTO UrlRes (Url) VALUES ('')"), std::exception);
    EXPECT_THROW(test::executeSql(path, "INSERT INTO Strings (String) VALUES ('')"), std::exception);
    EXPECT_NO_THROW(test::executeSql(path, "INSERT INTO Folders (Name) VALUES ('')"));
}

TEST(Template, NewProjectRefusesToReplaceAProjectOpenElsewhere) {
    test::TempDir dir;
    const std::string path = dir.file("busy.slk");
    eng::writeNewProject(path);
    {
        eng::Database holder(path);
        holder.takeExclusiveLock();
        EXPECT_THROW(eng::writeNewProject(path), std::runtime_error);
    }
    // A file that is not a project at all is simply replaced.
    std::ofstream(path) << "not a project";
    eng::writeNewProject(path);
    EXPECT_EQ(test::queryInteger(path, "SELECT Version FROM Project"), 257);
}
