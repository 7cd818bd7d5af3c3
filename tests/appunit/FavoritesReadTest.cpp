// Reading favourites: a browser's bookmarks file with nested folders, and
// link files (".url", ".desktop") in folders.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QTemporaryDir>

#include "exports/BookmarksFile.h"
#include "exports/ShortcutFolder.h"

namespace {

const char *const kBookmarks = R"(<!DOCTYPE NETSCAPE-Bookmark-file-1>
<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">
<TITLE>Bookmarks</TITLE>
<H1>Bookmarks Menu</H1>
<DL><p>
    <DT><A HREF="http://top.test/" ADD_DATE="1">Top &amp; &lt;b&gt;first&lt;/b&gt;</A>
    <DT><H3 ADD_DATE="2">News</H3>
    <DL><p>
        <DT><A HREF="http://news.test/a?x=1&amp;y=2">A <b>bold</b> one</A>
        <DT><H3>Deeper</H3>
        <DL><p>
            <DT><a href='http://deep.test/'>Deep</a>
        </DL><p>
        <DT><A HREF="http://news.test/b">B</A>
    </DL><p>
    <DT><H3>Empty</H3>
    <DL><p>
    </DL><p>
    <DT><A>no address</A>
    <DT><A HREF=http://last.test/>Last</A>
</DL>
)";

void write(const std::filesystem::path &file, const std::string &text) { std::ofstream(file) << text; }

}  // namespace

TEST(FavoritesReadTest, ABookmarksFileGivesItsFoldersAndLinksInOrder) {
    const FavoriteFolder top = readBookmarksHtml(kBookmarks);
    ASSERT_EQ(top.links.size(), 2u);
    EXPECT_EQ(top.links[0].name, "Top & <b>first</b>");
    EXPECT_EQ(top.links[0].address, "http://top.test/");
    EXPECT_EQ(top.links[1].address, "http://last.test/");
    ASSERT_EQ(top.folders.size(), 2u);
    const FavoriteFolder &news = top.folders[0];
    EXPECT_EQ(news.name, "News");
    ASSERT_EQ(news.links.size(), 2u);
    EXPECT_EQ(news.links[0].name, "A bold one");
    EXPECT_EQ(news.links[0].address, "http://news.test/a?x=1&y=2");
    EXPECT_EQ(news.links[1].address, "http://news.test/b");
    ASSERT_EQ(news.folders.size(), 1u);
    EXPECT_EQ(news.folders[0].name, "Deeper");
    ASSERT_EQ(news.folders[0].links.size(), 1u);
    EXPECT_EQ(news.folders[0].links[0].address, "http://deep.test/");
    EXPECT_EQ(top.folders[1].name, "Empty");
    EXPECT_TRUE(top.folders[1].links.empty());
}

TEST(FavoritesReadTest, FoldersNestedTooDeepAreFlattenedAndUnbalancedListsDoNoHarm) {
    std::string nested;
    for (int k = 0; k < kFavoriteDepth + 10; ++k) nested += "<DT><H3>f</H3><DL><p>";
    nested += "<DT><A HREF=\"http://x.test/\">x</A>";
    nested += "</DL></DL></DL></DL>";  // fewer closed than opened, then more below
    nested += std::string(200, '<') + "</DL></DL><A HREF=\"http://y.test/\">y</A>";
    const FavoriteFolder top = readBookmarksHtml(QByteArray::fromStdString("<DL>" + nested + "</DL>"));
    int depth = 0;
    const FavoriteFolder *folder = &top;
    while (!folder->folders.empty()) folder = &folder->folders.front(), ++depth;
    EXPECT_EQ(depth, kFavoriteDepth);
    // The lists still open past the deepest folder kept all fill it.
    ASSERT_EQ(folder->links.size(), 2u);
    EXPECT_EQ(folder->links[0].address, "http://x.test/");
    EXPECT_EQ(folder->links[1].address, "http://y.test/");
}

TEST(FavoritesReadTest, AFileOfUnclosedTagsIsReadThroughToItsLastLink) {
    QByteArray junk = "<DL>";
    for (int k = 0; k < 200000; ++k) junk += k % 2 ? "<A HREF=\"http://open.test/\">x" : "<H3>y";
    junk += "</DL><A HREF=\"http://end.test/\">End</A>";
    const FavoriteFolder top = readBookmarksHtml(junk);
    ASSERT_FALSE(top.links.empty());
    EXPECT_EQ(top.links.back().address, "http://end.test/");
}

TEST(FavoritesReadTest, ALinkFileGivesTheFirstUrlOfItsSection) {
    EXPECT_EQ(shortcutAddress("[InternetShortcut]\r\nURL=http://a.test/\r\nURL=http://b.test/\r\n"), "http://a.test/");
    EXPECT_EQ(
        shortcutAddress("[DEFAULT]\nBASEURL=http://no.test/\n[internetshortcut]\nIconIndex=0\nurl=http://c.test/"),
        "http://c.test/");
    EXPECT_EQ(shortcutAddress("[Desktop Entry]\nType=Link\nName=D\nURL=http://d.test/\n"), "http://d.test/");
    EXPECT_EQ(shortcutAddress("URL=http://outside.test/\n[Other]\nURL=http://other.test/\n"), std::nullopt);
    EXPECT_EQ(shortcutAddress("[InternetShortcut]\n[Next]\nURL=http://late.test/\n"), std::nullopt);
    EXPECT_EQ(shortcutAddress(""), std::nullopt);
}

TEST(FavoritesReadTest, AFolderOfLinkFilesGivesItsSubfoldersAndTheFilesWithAddresses) {
    QTemporaryDir dir;
    const auto root = std::filesystem::path(dir.path().toStdString()) / "Links";
    std::filesystem::create_directories(root / "Work" / "Inner");
    std::filesystem::create_directories(root / "Play");
    write(root / "site.url", "[InternetShortcut]\nURL=http://site.test/\n");
    write(root / "notes.txt", "just text\n");
    write(root / "Work" / "wiki.desktop", "[Desktop Entry]\nType=Link\nURL=http://wiki.test/\n");
    write(root / "Work" / "Inner" / "deep.url", "[InternetShortcut]\nURL=http://deep.test/\n");
    std::filesystem::create_symlink(root / "site.url", root / "Play" / "linked.url");

    const FavoriteFolder top = readShortcutFolder(QString::fromStdString(root.string()));
    EXPECT_EQ(top.name, "Links");
    ASSERT_EQ(top.links.size(), 1u);
    EXPECT_EQ(top.links[0].name, "site.url");
    EXPECT_EQ(top.links[0].address, "http://site.test/");
    ASSERT_EQ(top.folders.size(), 2u);
    EXPECT_EQ(top.folders[0].name, "Play");
    EXPECT_TRUE(top.folders[0].links.empty());  // a symbolic link is not followed
    EXPECT_EQ(top.folders[1].name, "Work");
    ASSERT_EQ(top.folders[1].links.size(), 1u);
    EXPECT_EQ(top.folders[1].links[0].name, "wiki.desktop");
    ASSERT_EQ(top.folders[1].folders.size(), 1u);
    EXPECT_EQ(top.folders[1].folders[0].links[0].address, "http://deep.test/");
}
