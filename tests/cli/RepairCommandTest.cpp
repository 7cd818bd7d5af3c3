// lark repair on crawled projects: a generated site served by nginx is
// mirrored, the project is damaged on disk, and the repaired project is
// compared with the intact one, table by table.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>

#include "engine.h"
#include "support/DamagedFiles.h"
#include "support/NginxServer.h"
#include "support/ProjectFiles.h"
#include "support/RunLark.h"
#include "support/TempDir.h"
#include "support/TestSite.h"

namespace fs = std::filesystem;

namespace {

constexpr const char *kTables[] = {"Project", "Folders",   "Tasks", "UrlRes", "Items",       "Res",       "Rel",
                                   "Strings", "StrChunks", "Auth",  "Index",  "Title_Index", "NoiseWords"};

// A project holding a whole crawl of a site of 300 pages (with bodies long
// enough to need overflow pages), made once for this file's tests.
const std::string &crawledProject() {
    static const struct Crawl {
        test::TempDir dir;
        std::string project = dir.file("crawled.slk");
        Crawl() {
            test::TempDir folder;
            test::NginxServer nginx(folder.path(),
                                    test::NginxServer::Options{.extraServerConfig = test::TestSite::nginxConfig()});
            test::TestSite::Options options;
            options.baseUrl = nginx.url("");
            options.specials = false;
            options.padding = 6000;
            const test::TestSite site(options);
            site.write(folder.path());
            const test::LarkResult mirror =
                test::runLark("mirror " + site.startUrl() + " -o " + project + " --depth 100 --per-server 4");
            if (mirror.status != 0) throw std::runtime_error("the crawl failed:\n" + mirror.output);
        }
    } crawl;
    return crawl.project;
}

// What lark repair printed for one table: the rows saved and the most that were lost.
struct TableLine {
    long long saved = -1;
    long long lostAtMost = -1;  // -1: no bound
};

std::map<std::string, TableLine> tableLines(const std::string &output) {
    std::map<std::string, TableLine> out;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string name, lost;
        TableLine t;
        if (!(words >> name >> t.saved)) continue;
        std::getline(words >> std::ws, lost);
        if (lost == "none")
            t.lostAtMost = 0;
        else if (lost.rfind("at most ", 0) == 0)
            t.lostAtMost = std::stoll(lost.substr(8));
        else if (!lost.empty() && std::isdigit(static_cast<unsigned char>(lost[0])))
            t.lostAtMost = std::stoll(lost);
        out[name] = t;
    }
    return out;
}

long long rows(const std::string &path, const std::string &table) {
    return test::queryInteger(path, "SELECT count(*) FROM \"" + table + "\"");
}

// Whether SQLite's own check finds the file damaged. (Which pages a test
// overwrites holds what differs from crawl to crawl, so the damage may miss
// what lark info reads; the check reads every page.)
bool damagedForSqlite(const std::string &path) {
    try {
        return test::queryText(path, "PRAGMA integrity_check(1)") != "ok";
    } catch (const std::exception &) {
        return true;
    }
}

// Repairs the damaged copy with lark and checks the result against the
// intact project: each table's saved rows are intact rows, unchanged, and
// the rows missing are within the bound printed.
void repairAndCompare(const std::string &path, const std::string &intact, const std::string &what) {
    const std::string damaged = test::fileBytes(path);
    EXPECT_TRUE(damagedForSqlite(path)) << "SQLite finds no fault in the damaged file";

    const auto started = std::chrono::steady_clock::now();
    const test::LarkResult repair = test::runLark("repair " + path);
    const auto took = std::chrono::steady_clock::now() - started;
    ASSERT_EQ(repair.status, 0) << repair.output;
    EXPECT_TRUE(test::contains(repair, "kept as \"" + path + ".damaged\"")) << repair.output;
    EXPECT_EQ(test::fileBytes(path + ".damaged"), damaged);

    const std::map<std::string, TableLine> lines = tableLines(repair.output);
    std::cout << "[ figures  ] " << what << ", " << fs::file_size(intact) / 1024 << " KiB project, repair took "
              << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms (lark process)\n";
    for (const char *table : kTables) {
        const auto line = lines.find(table);
        ASSERT_NE(line, lines.end()) << table << " is missing from\n" << repair.output;
        const TableLine &t = line->second;
        const long long had = rows(intact, table), has = rows(path, table);
        std::cout << "[ figures  ]   " << table << ": " << had << " rows intact, " << t.saved << " saved, "
                  << (had - t.saved) << " lost (reported at most " << t.lostAtMost << ")\n";
        EXPECT_LE(t.saved, had) << table;
        ASSERT_GE(t.lostAtMost, 0) << table;
        EXPECT_GE(t.saved + t.lostAtMost, had) << table << ": more rows are missing than the report says";
        EXPECT_GE(has, t.saved) << table;
        EXPECT_LE(test::rowsNotIn(path, intact, table), has - t.saved) << table;
    }

    const test::LarkResult info = test::runLark("info " + path);
    ASSERT_EQ(info.status, 0) << info.output;
    EXPECT_TRUE(test::contains(info, "Version     257"));
    EXPECT_TRUE(test::contains(info, "Bodies      " + std::to_string(rows(path, "Res")))) << info.output;
    // The program opens it as it opens any project.
    ASSERT_EQ(Eng_OpenProject(path.c_str(), nullptr, nullptr, nullptr), 0);
    Eng_CloseProject();
    const std::string repaired = test::fileBytes(path);
    const test::LarkResult again = test::runLark("repair " + path);
    EXPECT_EQ(again.status, 0);
    EXPECT_TRUE(test::contains(again, "is sound; nothing was changed")) << again.output;
    EXPECT_EQ(test::fileBytes(path), repaired);
}

}  // namespace

TEST(LarkRepair, ACrawledProjectCutInHalf) {
    const std::string &intact = crawledProject();
    ASSERT_GT(rows(intact, "UrlRes"), 300);
    test::TempDir dir;
    const std::string path = dir.file("half.slk");
    fs::copy_file(intact, path);
    test::cutInHalf(path);
    repairAndCompare(path, intact, "cut in half");
    EXPECT_GT(rows(path, "Strings"), 0);
}

TEST(LarkRepair, ACrawledProjectWithPagesOverwrittenByRandomBytes) {
    const std::string &intact = crawledProject();
    test::TempDir dir;
    const std::string path = dir.file("overwritten.slk");
    fs::copy_file(intact, path);
    const size_t pages = fs::file_size(path) / 4096;
    test::overwriteRandomPages(path, pages / 20, 2024);
    repairAndCompare(path, intact, std::to_string(pages / 20) + " of " + std::to_string(pages) + " pages overwritten");
}

TEST(LarkRepair, FilesThatAreNoProjectsAreRefusedAndLeftUntouched) {
    test::TempDir dir;
    for (const std::string &path : test::writeFilesThatAreNoProjects(dir.path())) {
        const std::string bytes = test::fileBytes(path);
        const test::LarkResult r = test::runLark("repair " + path);
        EXPECT_EQ(r.status, 1) << path;
        EXPECT_TRUE(test::contains(r, "is not a Sitelark project")) << r.output;
        EXPECT_EQ(test::fileBytes(path), bytes) << path;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);
}
