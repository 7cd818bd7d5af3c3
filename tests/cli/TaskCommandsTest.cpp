#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>

#include "base/UrlHash.h"
#include "support/RunLark.h"
#include "support/TempDir.h"

using test::contains;
using test::runLark;

namespace {

// A new project in a temporary directory, with lark run on it.
class LarkTasks : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(runLark("new " + path_).status, 0); }

    test::LarkResult lark(const std::string &command, const std::string &rest) {
        return runLark(command + " " + path_ + " " + rest);
    }

private:
    test::TempDir dir_;
    std::string path_ = dir_.file("p.slk");
};

constexpr const char *kTaskHeader = "    id  state      queued  retrieved  depth  errors  name or address\n";

}  // namespace

TEST_F(LarkTasks, AddedTasksAreListedByFolder) {
    test::LarkResult first = lark("add", "http://example.com/ --depth 3 --name 'Example site'");
    ASSERT_EQ(first.status, 0) << first.output;
    EXPECT_EQ(first.output, "1\n");
    ASSERT_EQ(lark("mkdir", "1 News").status, 0);
    EXPECT_EQ(lark("add", "https://news.example.org/today.html --folder 2").output, "2\n");

    test::LarkResult all = lark("tasks", "");
    EXPECT_EQ(all.status, 0);
    EXPECT_EQ(all.output,
              std::string(kTaskHeader) +
                  "     1  active          1          0      3       0  Example site\n"
                  "     2  active          1          0      1       0  https://news.example.org/today.html\n");
    EXPECT_EQ(lark("tasks", "--folder 2").output,
              std::string(kTaskHeader) +
                  "     2  active          1          0      1       0  https://news.example.org/today.html\n");

    test::LarkResult mail = lark("add", "mailto:someone@example.com");
    EXPECT_EQ(mail.status, 1);
    EXPECT_TRUE(contains(mail,
                         "cannot make a task for \"mailto:someone@example.com\" (not an http, https, ftp or "
                         "file address)"))
        << mail.output;
    test::LarkResult nowhere = lark("add", "http://example.com/ --folder 9");
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_TRUE(contains(nowhere, "there is no folder 9"));
    EXPECT_EQ(lark("tasks", "--folder 9").status, 1);
    EXPECT_EQ(lark("tasks", "").output, all.output);
}

TEST_F(LarkTasks, ANewTaskHasItsAddressQueued) {
    ASSERT_EQ(lark("add", "http://example.com/start.html").status, 0);
    test::LarkResult items = lark("items", "1");
    EXPECT_EQ(items.status, 0);
    EXPECT_EQ(items.output,
              "  item  level  state        status        size  address\n"
              "     1      0  queued            0           0  http://example.com/start.html\n");
    EXPECT_EQ(lark("items", "2").status, 1);
}

TEST_F(LarkTasks, StopAndStartSwitchTheStateAndRmDeletesOnce) {
    ASSERT_EQ(lark("add", "http://example.com/").status, 0);
    EXPECT_EQ(lark("stop", "1").output, "task 1 stopped\n");
    EXPECT_TRUE(contains(lark("tasks", ""), "     1  stopped"));
    EXPECT_EQ(lark("start", "1").output, "task 1 active\n");
    test::LarkResult missing = lark("stop", "7");
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(contains(missing, "there is no task 7"));
    EXPECT_EQ(lark("start", "7").status, 1);

    test::LarkResult removed = lark("rm", "1");
    EXPECT_EQ(removed.status, 0) << removed.output;
    EXPECT_EQ(lark("tasks", "").output, kTaskHeader);
    test::LarkResult again = lark("rm", "1");
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(contains(again, "there is no task 1"));
}

TEST_F(LarkTasks, FilterTestAnswersWithTheTasksFilter) {
    ASSERT_EQ(lark("add", "http://example.com/ --filter 'not *.zip'").status, 0);
    test::LarkResult zip = lark("filter-test", "1 http://example.com/all.zip");
    EXPECT_EQ(zip.status, 0);
    EXPECT_EQ(zip.output, "refused\nnot [+*.zip]\n");
    test::LarkResult page = lark("filter-test", "1 http://example.com/index.html --kind 3");
    EXPECT_EQ(page.status, 0);
    EXPECT_EQ(page.output, "accepted\nnot [-*.zip]\n");

    // A filter in the engine's own form covers only the kinds of its mask (here images, kind 1).
    ASSERT_EQ(lark("add", std::string("http://example.com/ --filter '2;0;0;*.gif") + '\xFF' + "'").status, 0);
    EXPECT_EQ(lark("filter-test", "2 http://example.com/a.png --kind 1").output, "refused\n[-*.gif]\n");
    EXPECT_EQ(lark("filter-test", "2 http://example.com/a.png").output,
              "accepted\n(no rule of the task's filter covers this kind of link)\n");
    EXPECT_EQ(lark("filter-test", "3 http://example.com/").status, 1);
}

TEST_F(LarkTasks, BadNumbersAreUsageMistakes) {
    for (const char *options : {"--depth x", "--depth -1", "--age 1.5", "--folder 99999999999", "--depth ' 2'"}) {
        test::LarkResult r = lark("add", std::string("http://example.com/ ") + options);
        EXPECT_EQ(r.status, 2) << options;
        EXPECT_TRUE(contains(r, "usage: lark add PROJECT URL")) << options;
    }
    ASSERT_EQ(lark("add", "http://example.com/").status, 0);
    for (const char *command : {"rm", "stop", "start", "items"}) {
        test::LarkResult r = lark(command, "first");
        EXPECT_EQ(r.status, 2) << command;
        EXPECT_TRUE(contains(r, "TASK must be a task number, not \"first\"")) << command;
        EXPECT_EQ(lark(command, "0").status, 2) << command;
    }
    EXPECT_EQ(lark("filter-test", "1 http://example.com/ --kind 32").status, 2);
    EXPECT_EQ(lark("tasks", "--folder two").status, 2);
    // The refused commands added nothing.
    EXPECT_EQ(lark("tasks", "").output,
              std::string(kTaskHeader) + "     1  active          1          0      1       0  http://example.com/\n");
}

TEST_F(LarkTasks, MalformedFiltersAreRefusedWithTheReason) {
    struct Case {
        const char *filter;
        const char *reason;
    } cases[] = {
        {"'( *.html'", "No closing bracket"},
        {"'*.html *.htm'", "Missing operation"},
        {"and", "Missing operand"},
        {"'( )'", "Syntax Error"},
        {"$'14449;0;*.html\\xff'", "is not mask;minimum;maximum;expression"},
    };
    for (const Case &c : cases) {
        test::LarkResult r = lark("add", std::string("http://example.com/ --filter ") + c.filter);
        EXPECT_EQ(r.status, 1) << c.filter;
        EXPECT_TRUE(test::contains(r, c.reason)) << c.filter << ": " << r.output;
    }
    EXPECT_EQ(lark("tasks", "").output, kTaskHeader);  // nothing was added
}

TEST(LarkLinks, ListsTheLinksOfAPageFile) {
    test::TempDir dir;
    const std::string page = dir.file("page.html");
    std::ofstream(page) << "<link rel=stylesheet href=s.css><a href=\"next.html#x\">n</a><img src=\"/i.gif\">"
                           "<a href=\"mailto:me@example.com\">";
    test::LarkResult r = runLark("links " + page + " --base http://example.com/dir/page.html");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output,
              "11\tstylesheet\thttp://example.com/dir/s.css\n"
              "0\tlink\thttp://example.com/dir/next.html\n"
              "1\timage\thttp://example.com/i.gif\n");
    test::LarkResult local = runLark("links " + page);
    EXPECT_TRUE(test::contains(local, "file://" + dir.file("next.html"))) << local.output;
    EXPECT_EQ(runLark("links " + dir.file("missing.html")).status, 1);
}

TEST(LarkLinks, ListsTheLinksOfAStoredPage) {
    test::TempDir dir;
    const std::string path = dir.file("p.slk");
    ASSERT_EQ(runLark("new " + path).status, 0);
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    // Addresses are stored with their hash, by which the engine finds them.
    auto address = [](int id, const std::string &url) {
        return "(" + std::to_string(id) + ", 1, 1, " + std::to_string(static_cast<int32_t>(eng::urlHash(url))) + ", '" +
               url + "')";
    };
    const std::string rows =
        "INSERT INTO Strings (StrId, Type, RefCount, Hash, String) VALUES " + address(1, "http://example.com/") + ", " +
        address(2, "http://example.com/a.html") + ", " + address(3, "http://example.com/i.gif") +
        ";"
        "INSERT INTO Res (ResId, Size, Hash, Type, ContentType, RefCount) VALUES (4, 1, 1, 1, 'text/html', 1);"
        "INSERT INTO UrlRes (UrlId, ResId, State, Url, DoneTime) VALUES (1, 4, 2, 'http://example.com/', 1);"
        "INSERT INTO Rel (ResId, UrlId, PostId, Relation) VALUES (4, 2, 0, 0), (4, 3, 0, 1);";
    sqlite3_exec(db, rows.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    test::LarkResult r = runLark("links " + path + " HTTP://EXAMPLE.COM");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "0\tlink\thttp://example.com/a.html\n1\timage\thttp://example.com/i.gif\n");
    test::LarkResult none = runLark("links " + path + " http://example.com/other");
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(test::contains(none, "no stored page"));
}
