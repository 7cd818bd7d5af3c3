// The names stored files are saved under: where the name comes from, what it
// may not hold, and the counter that keeps an existing file from being
// written over.

#include "exports/ItemFileName.h"

#include <gtest/gtest.h>

#include <set>

TEST(ItemFileNameTest, TakesTheNameParameterOfTheContentTypeFirst) {
    EXPECT_EQ(itemFileName("http://h.test/get.php?id=1", "application/zip; name=\"report.zip\"", false), "report.zip");
    EXPECT_EQ(itemFileName("http://h.test/get", "application/zip;charset=x; Name = data.bin ", false), "data.bin");
    EXPECT_EQ(itemFileName("http://h.test/get", "application/zip; filename=a.bin", false), "get");
}

TEST(ItemFileNameTest, FallsBackToThePathThenTheHostThenADefault) {
    EXPECT_EQ(itemFileName("http://h.test/dir/pic.gif", "image/gif", false), "pic.gif");
    EXPECT_EQ(itemFileName("http://h.test/dir/my%20page.htm?x=1", "text/html", true), "my page.htm");
    EXPECT_EQ(itemFileName("http://h.test/dir/", "text/html", true), "h.test.html");
    EXPECT_EQ(itemFileName("http://h.test", "text/html", true), "h.test.html");
    EXPECT_EQ(itemFileName("", "", false), "Default1.html");
}

TEST(ItemFileNameTest, GivesHtmlWithoutExtensionTheHtmlExtensionOnly) {
    EXPECT_EQ(itemFileName("http://h.test/about", "text/html", true), "about.html");
    EXPECT_EQ(itemFileName("http://h.test/about", "application/octet-stream", false), "about");
}

TEST(ItemFileNameTest, ReplacesTheNineForbiddenCharacters) {
    EXPECT_EQ(itemFileName("http://h.test/x", "text/plain; name=\"a<b>c:d*e?f|g\\h\"", false), "a_b_c_d_e_f_g_h");
    EXPECT_EQ(itemFileName("http://h.test/a%2Fb%22c", "text/plain", false), "a_b_c");
}

TEST(ItemFileNameTest, CountsBeforeTheExtension) {
    EXPECT_EQ(countedName("page.html"), "page[1].html");
    EXPECT_EQ(countedName("page[1].html"), "page[2].html");
    EXPECT_EQ(countedName("page[9]"), "page[10]");
    EXPECT_EQ(countedName("page[x].html"), "page[x][1].html");
    EXPECT_EQ(countedName("archive.tar.gz"), "archive.tar[1].gz");
    EXPECT_EQ(countedName(".profile"), ".profile[1]");
}

TEST(ItemFileNameTest, FindsTheFirstFreePathInTheFolder) {
    const std::set<QString> taken{"/out/page.html", "/out/page[1].html"};
    const auto exists = [&](const QString &path) { return taken.contains(path); };
    EXPECT_EQ(freePath("/out/page.html", exists), "/out/page[2].html");
    EXPECT_EQ(freePath("/out/other.html", exists), "/out/other.html");
}
