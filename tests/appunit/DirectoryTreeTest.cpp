#include "items/DirectoryTree.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Node = DirectoryTree::Node;

std::vector<QString> captions(const Node &folder) {
    std::vector<QString> texts;
    for (const auto &child : folder.children())
        texts.push_back(child->folder() ? "[" + child->caption() + "]" : child->caption());
    return texts;
}

// Fills every folder, depth first.
void fillAll(DirectoryTree &tree, const Node &folder) {
    tree.fill(folder);
    for (const auto &child : folder.children())
        if (child->folder()) fillAll(tree, *child);
}

const Node &child(const Node &folder, const QString &text) {
    for (const auto &node : folder.children())
        if (node->text() == text) return *node;
    throw std::runtime_error("no child " + text.toStdString());
}

QString splitText(const QString &text) {
    const DirectoryTree::Split at = DirectoryTree::split(text);
    if (!at.split) return QStringLiteral("file ") + text;
    return text.left(at.folderEnd) + QStringLiteral(" | ") + text.mid(at.rest);
}

TEST(DirectoryTreeTest, ATextSplitsAtTheLastSlashOfItsFirstRunOfEitherKind) {
    EXPECT_EQ(splitText("http://host/a.html"), "http:/ | host/a.html");
    EXPECT_EQ(splitText("host/a/b.html"), "host | a/b.html");
    EXPECT_EQ(splitText("a//b"), "a/ | b");
    EXPECT_EQ(splitText("c:\\\\dir\\f.txt"), "c:\\ | dir\\f.txt");
    EXPECT_EQ(splitText("a\\/b"), "a\\ | b");
    EXPECT_EQ(splitText("dir/"), "dir | ");
    EXPECT_EQ(splitText("page.html"), "file page.html");
    EXPECT_EQ(splitText("find?q=a/b"), "file find?q=a/b");
    EXPECT_EQ(splitText("find/x?q=a/b"), "find | x?q=a/b");
    EXPECT_EQ(splitText(""), "file ");
}

TEST(DirectoryTreeTest, FoldersComeFirstThenFilesEachSortedAndAFolderNameIsSharedWhateverItsCase) {
    DirectoryTree tree;
    tree.reset({"http://h/b.html", "http://h/Zeta/1.html", "http://h/A.html", "http://H/x.html", "http://h/zeta/2.html",
                "http://h/alpha/3.html", "http://h/?q=1/2"});
    ASSERT_EQ(captions(tree.root()), std::vector<QString>{"[http:/]"});
    const Node &scheme = *tree.root().children().front();
    EXPECT_FALSE(scheme.filled());
    EXPECT_TRUE(scheme.children().empty());
    EXPECT_TRUE(tree.fill(scheme));
    EXPECT_FALSE(tree.fill(scheme));
    ASSERT_EQ(captions(scheme), std::vector<QString>{"[h]"});  // "H" shares the node named first
    const Node &host = child(scheme, "h");
    tree.fill(host);
    EXPECT_EQ(captions(host), (std::vector<QString>{"[alpha]", "[Zeta]", "?q=1/2", "A.html", "b.html", "x.html"}));
    const Node &zeta = child(host, "Zeta");
    tree.fill(zeta);
    EXPECT_EQ(captions(zeta), (std::vector<QString>{"1.html", "2.html"}));
}

TEST(DirectoryTreeTest, AnAddressEndingInASlashIsTheDefaultPageOfItsFolder) {
    DirectoryTree tree;
    tree.reset({"http://h/docs/", "http://h/docs/a.html"});
    fillAll(tree, tree.root());
    const Node &docs = child(child(*tree.root().children().front(), "h"), "docs");
    EXPECT_EQ(captions(docs), (std::vector<QString>{"(Default page)", "a.html"}));
    EXPECT_EQ(docs.children().front()->text(), "");
    EXPECT_EQ(DirectoryTree::address(*docs.children().front()), "http://h/docs/");
}

TEST(DirectoryTreeTest, JoiningTheNodeTextsGivesEveryAddressBack) {
    const std::vector<QString> addresses = {"http://127.0.0.1:8080/",
                                            "http://127.0.0.1:8080/index.html",
                                            "http://127.0.0.1:8080/a//double/x.png",
                                            "http://127.0.0.1:8080/q?x=a/b",
                                            "https://other.example/deep/er/est/",
                                            "ftp://files.example/pub/file.tar.gz",
                                            "http:/odd",
                                            "mailto:someone",
                                            ""};
    DirectoryTree tree;
    tree.reset(addresses);
    fillAll(tree, tree.root());
    for (size_t entry = 0; entry < addresses.size(); ++entry) {
        ASSERT_NE(tree.fileNode(entry), nullptr) << addresses[entry].toStdString();
        EXPECT_EQ(DirectoryTree::address(*tree.fileNode(entry)), addresses[entry]);
        EXPECT_EQ(tree.fileNode(entry)->entry(), entry);
    }
}

TEST(DirectoryTreeTest, AnAddedAddressLandsInItsPlaceAndIsAnnouncedOnlyWhereChildrenAreShown) {
    DirectoryTree tree;
    tree.reset({"http://h/b/1.html", "http://h/d.html", "http://h/f/1.html"});
    fillAll(tree, tree.root());
    const Node &host = child(*tree.root().children().front(), "h");
    std::vector<std::pair<QString, int>> announced;
    const DirectoryTree::Inserting note = [&](const Node &parent, int row) {
        announced.emplace_back(DirectoryTree::address(parent), row);
    };

    const size_t folder = tree.insert("http://h/c/2.html", note);  // a new folder between b and f
    EXPECT_EQ(announced, (std::vector<std::pair<QString, int>>{{"http://h", 1}}));
    EXPECT_EQ(captions(host), (std::vector<QString>{"[b]", "[c]", "[f]", "d.html"}));
    EXPECT_EQ(tree.fileNode(folder), nullptr);  // the new folder is filled when first shown
    for (int row = 0; row < 4; ++row) EXPECT_EQ(DirectoryTree::row(*host.children()[static_cast<size_t>(row)]), row);
    tree.fill(child(host, "c"));
    EXPECT_EQ(DirectoryTree::address(*tree.fileNode(folder)), "http://h/c/2.html");

    announced.clear();
    const size_t file = tree.insert("http://h/a.html", note);
    EXPECT_EQ(announced, (std::vector<std::pair<QString, int>>{{"http://h", 3}}));  // after the folders
    EXPECT_EQ(DirectoryTree::row(*tree.fileNode(file)), 3);

    announced.clear();
    tree.insert("http://H/B/3.html", note);  // into the filled folder b, whatever the case
    EXPECT_EQ(announced, (std::vector<std::pair<QString, int>>{{"http://h/b", 1}}));
    EXPECT_EQ(captions(child(host, "b")), (std::vector<QString>{"1.html", "3.html"}));
}

TEST(DirectoryTreeTest, FilesOfTheSameAddressEachHaveTheirOwnRow) {
    DirectoryTree tree;
    tree.reset({"http://h/a.cgi", "http://h/b/", "http://h/a.cgi"});
    fillAll(tree, tree.root());
    const size_t third = tree.insert("http://h/a.cgi", {});
    EXPECT_EQ(DirectoryTree::row(*tree.fileNode(0)), 1);
    EXPECT_EQ(DirectoryTree::row(*tree.fileNode(2)), 2);
    EXPECT_EQ(DirectoryTree::row(*tree.fileNode(third)), 3);
    EXPECT_EQ(DirectoryTree::row(*tree.fileNode(1)), 0);
}

TEST(DirectoryTreeTest, AnAddressAddedBelowAFolderNotYetShownWaitsThereUnannounced) {
    DirectoryTree tree;
    tree.reset({"http://h/b/1.html"});
    const Node &scheme = *tree.root().children().front();
    bool announced = false;
    const size_t entry = tree.insert("http://h/b/0.html", [&](const Node &, int) { announced = true; });
    EXPECT_FALSE(announced);
    fillAll(tree, tree.root());
    const Node &b = child(child(scheme, "h"), "b");
    EXPECT_EQ(captions(b), (std::vector<QString>{"0.html", "1.html"}));
    EXPECT_EQ(tree.fileNode(entry), b.children().front().get());
}

TEST(DirectoryTreeTest, ARemovedFileTakesTheFoldersItLeavesEmptyWithIt) {
    DirectoryTree tree;
    tree.reset({"http://h/a/b/1.html", "http://h/c.html", "http://h/d/2.html", "http://h/d/3.html"});
    fillAll(tree, tree.root());
    const Node &host = child(*tree.root().children().front(), "h");
    std::vector<std::pair<QString, int>> announced;
    const DirectoryTree::Removing note = [&](const Node &parent, int row, const std::function<void()> &take) {
        announced.emplace_back(DirectoryTree::address(parent), row);
        take();
    };
    tree.remove(0, note);
    EXPECT_EQ(announced,
              (std::vector<std::pair<QString, int>>{{"http://h/a/b", 0}, {"http://h/a", 0}, {"http://h", 0}}));
    EXPECT_EQ(captions(host), (std::vector<QString>{"[d]", "c.html"}));
    EXPECT_EQ(tree.fileNode(0), nullptr);
    EXPECT_EQ(DirectoryTree::row(child(host, "d")), 0);
    announced.clear();
    tree.remove(2, note);  // its folder keeps the other file
    EXPECT_EQ(announced, (std::vector<std::pair<QString, int>>{{"http://h/d", 0}}));
    tree.remove(2, note);  // gone already
    EXPECT_EQ(announced.size(), 1u);
}

TEST(DirectoryTreeTest, ARemovedAddressNotYetSplitLeavesItsFolderOrTakesItWhenItWasTheLast) {
    DirectoryTree tree;
    tree.reset({"http://h/a/1.html", "http://h/a/2.html", "http://h/b/3.html"});
    const Node &scheme = *tree.root().children().front();
    tree.fill(scheme);
    const Node &host = child(scheme, "h");
    tree.fill(host);
    int announced = 0;
    const DirectoryTree::Removing note = [&](const Node &, int, const std::function<void()> &take) {
        ++announced;
        take();
    };
    tree.remove(0, note);  // waiting in a, which has another
    EXPECT_EQ(announced, 0);
    EXPECT_EQ(captions(host), (std::vector<QString>{"[a]", "[b]"}));
    tree.remove(2, note);  // the only one waiting in b
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(captions(host), (std::vector<QString>{"[a]"}));
    tree.fill(child(host, "a"));
    EXPECT_EQ(captions(child(host, "a")), (std::vector<QString>{"2.html"}));
}

TEST(DirectoryTreeTest, TheChildForATextIsItsFolderOrItsExactFile) {
    DirectoryTree tree;
    tree.reset({"http://h/Docs/a.html", "http://h/x.html", "http://h/y/"});
    fillAll(tree, tree.root());
    const Node &host = child(*tree.root().children().front(), "h");
    EXPECT_EQ(DirectoryTree::childFor(host, u"docs/b.html"), &child(host, "Docs"));
    EXPECT_EQ(DirectoryTree::childFor(host, u"x.html"), &child(host, "x.html"));
    EXPECT_EQ(DirectoryTree::childFor(host, u"X.html"), nullptr);
    EXPECT_EQ(DirectoryTree::childFor(host, u"z/"), nullptr);
    EXPECT_EQ(DirectoryTree::childFor(host, u"x.html/"), nullptr);
}

}  // namespace
