#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine.h"
#include "support/OpenProject.h"
#include "support/ProjectFiles.h"
#include "support/TempDir.h"
#include "support/UiHostRecorder.h"

namespace {

// Every column of the resources that an archive carries, by address, with
// the body's bytes in place of its key.
const char *kComparable = R"(
    SELECT group_concat(line, '|') FROM (SELECT
      u.Url || ',' || ifnull(p.String, '') || ',' || ifnull(r.String, '') || ',' || ifnull(hex(b.Body), '') || ',' ||
      ifnull(HttpVersion, '') || ',' || StatusCode || ',' || ifnull(Server, '') || ',' || ifnull(u.ContentType, '') ||
      ',' || ContentLength || ',' || u.Size || ',' || TcpError || ',' || Error || ',' || LastError || ',' ||
      LastModified || ',' || DoneTime || ',' || Priority || ',' || State || ',' || Domain || ',' || UrlHash || ',' ||
      u.Type || ',' || ifnull(Title, '') || ',' || Retries || ',' || MinSize || ',' || MaxSize AS line
    FROM UrlRes u LEFT JOIN Strings p ON p.StrId = u.PostId LEFT JOIN Strings r ON r.StrId = u.RedirectUrlId
      LEFT JOIN Res b ON b.ResId = u.ResId ORDER BY u.Url))";

void fill(const std::string &path) {
    test::executeSql(path, R"(
        INSERT INTO Strings (StrId, Type, RefCount, String) VALUES (1, 1, 1, 'http://h/a'), (2, 2, 1, 'q=1'),
          (3, 1, 1, 'http://h/b'), (4, 1, 1, 'http://h/moved');
        INSERT INTO Res (ResId, Body, Hash, Size, Type, ContentType, RefCount) VALUES
          (5, x'474946383961', 11, 6, 2, 'image/gif', 2);
        INSERT INTO UrlRes (UrlResId, UrlId, PostId, RedirectUrlId, ResId, Type, LastModified, HttpVersion,
          StatusCode, Server, ContentType, ContentLength, TcpError, LastError, DoneTime, RefCount, Error, Priority,
          Domain, State, Url, UrlHash, Retries, Size, Title, MinSize, MaxSize) VALUES
          (7, 1, 2, 4, 5, 2, 44000.25, 'HTTP/1.1', 200, 'nginx', 'image/gif', 6, 0, 0, 45000.5, 1, 0, 3, 99, 2,
           'http://h/a', 1234, 1, 6, 'Logo', 0, 1000),
          (8, 3, 0, 0, 5, 2, 0, '', 404, '', '', 0, 1, 12029, 45001, 1, 1, -2, 99, 2, 'http://h/b', 5678, 0, 0,
           '', 10, 20);
    )");
}

// Stores the resources of a closed project into archives and loads them
// into a new project at the target path; both projects are closed after.
void moveResources(const std::string &source, std::vector<uint32_t> ids, const std::string &target,
                   const test::TempDir &dir) {
    ASSERT_EQ(Eng_OpenProject(source.c_str(), nullptr, nullptr, nullptr), 0);
    const std::string resources = dir.file("res.arc"), bodies = dir.file("bodies.arc");
    ASSERT_EQ(Eng_SerializeUrlres(resources.c_str(), bodies.c_str(), 1, ids.data(), static_cast<uint32_t>(ids.size())),
              1);
    Eng_CloseProject();
    test::writeProjectFile(target);
    ASSERT_EQ(Eng_OpenProject(target.c_str(), nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(Eng_SerializeUrlres(resources.c_str(), bodies.c_str(), 0, nullptr, 0), 1);
    Eng_CloseProject();
}

}  // namespace

TEST(UrlResArchive, ResourcesAndBodiesMoveToAnotherProjectIntact) {
    test::TempDir dir;
    test::OpenProject source;
    Eng_CloseProject();
    fill(source.path());
    const std::string target = dir.file("target.slk");
    moveResources(source.path(), {7, 8}, target, dir);
    const std::string before = test::queryText(source.path(), kComparable);
    EXPECT_NE(before.find("http://h/a,q=1,http://h/moved,474946383961,HTTP/1.1,200,nginx"), std::string::npos)
        << before;
    EXPECT_EQ(test::queryText(target, kComparable), before);
    EXPECT_EQ(test::queryInteger(target, "SELECT count(*) FROM UrlRes"), 2);
    EXPECT_EQ(test::queryInteger(target, "SELECT count(*) FROM Res"), 1);  // one body, shared again
    EXPECT_EQ(test::queryInteger(target, "SELECT RefCount FROM Res"), 2);
}

TEST(UrlResArchive, AMovedPageFindsItsRelativeLinksAgainstItsOwnAddress) {
    test::TempDir dir;
    test::OpenProject source;
    Eng_CloseProject();
    test::executeSql(source.path(), R"(
        INSERT INTO Strings (StrId, Type, RefCount, String) VALUES (1, 1, 1, 'http://h/dir/page.html');
        INSERT INTO Res (ResId, Body, Hash, Size, Type, ContentType, RefCount) VALUES
          (2, CAST('<a href="next.html">n</a><img src="../i.gif">' AS BLOB), 0, 44, 1, 'text/html', 1);
        INSERT INTO UrlRes (UrlResId, UrlId, ResId, StatusCode, RefCount, State, Url, Size, ContentType) VALUES
          (3, 1, 2, 200, 1, 2, 'http://h/dir/page.html', 44, 'text/html');
    )");
    const std::string target = dir.file("target.slk");
    moveResources(source.path(), {3}, target, dir);
    EXPECT_EQ(test::queryText(target,
                              "SELECT group_concat(s.String || ':' || r.Relation, ' ') FROM "
                              "(SELECT * FROM Rel ORDER BY Relation) r JOIN Strings s ON s.StrId = r.UrlId"),
              "http://h/dir/next.html:0 http://h/i.gif:1");
}

TEST(UrlResArchive, ACutArchiveFailsAndLeavesTheTargetAsItWas) {
    test::UiHostRecorder ui;
    test::TempDir dir;
    test::OpenProject source;
    Eng_CloseProject();
    fill(source.path());
    ASSERT_EQ(Eng_OpenProject(source.path().c_str(), nullptr, nullptr, nullptr), 0);
    const uint32_t ids[] = {7, 8};
    const std::string resources = dir.file("res.arc"), bodies = dir.file("bodies.arc");
    ASSERT_EQ(Eng_SerializeUrlres(resources.c_str(), bodies.c_str(), 1, ids, 2), 1);
    const uint32_t missing[] = {7, 999};
    EXPECT_EQ(Eng_SerializeUrlres(dir.file("x.arc").c_str(), dir.file("y.arc").c_str(), 1, missing, 2), 0);
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_EQ(ui.messages().back().text, "UrlRes table  searialization error!");
    Eng_CloseProject();

    std::filesystem::resize_file(resources, std::filesystem::file_size(resources) - 10);
    const std::string target = dir.file("target.slk");
    test::writeProjectFile(target);
    ASSERT_EQ(Eng_OpenProject(target.c_str(), nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(Eng_SerializeUrlres(resources.c_str(), bodies.c_str(), 0, nullptr, 0), 0);
    EXPECT_EQ(Eng_SerializeUrlres(dir.file("none.arc").c_str(), bodies.c_str(), 0, nullptr, 0), 0);
    Eng_CloseProject();
    for (const char *table : {"UrlRes", "Res", "Strings"})
        EXPECT_EQ(test::queryInteger(target, std::string("SELECT count(*) FROM ") + table), 0) << table;
}
