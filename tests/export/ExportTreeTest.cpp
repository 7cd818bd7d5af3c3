#include "export/ExportTree.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

using eng::buildExportTree;
using eng::ExportNode;
using eng::ExportResource;
using eng::ExportTreeOptions;

namespace {

// Every file of the tree by its path below the root, with its address.
std::map<std::string, std::string> filesOf(const ExportNode &root) {
    std::map<std::string, std::string> files;
    std::function<void(const ExportNode &)> visit = [&](const ExportNode &node) {
        if (!node.isFolder() && &node != &root) files[eng::pathBelowRoot(node)] = node.address;
        for (const auto &child : node.children) visit(*child);
    };
    visit(root);
    return files;
}

const ExportNode &nodeAt(const ExportNode &root, const std::string &path) {
    std::function<const ExportNode *(const ExportNode &)> find = [&](const ExportNode &node) -> const ExportNode * {
        if (eng::pathBelowRoot(node) == path) return &node;
        for (const auto &child : node.children)
            if (const ExportNode *found = find(*child)) return found;
        return nullptr;
    };
    const ExportNode *found = find(root);
    if (found == nullptr) throw std::runtime_error("no node " + path);
    return *found;
}

}  // namespace

TEST(ExportTreeTest, MirrorsTheAddressesWithIndexFilesForFolderAddresses) {
    const auto root = buildExportTree("site_files",
                                      {{"http://s.test/", 1, 1},
                                       {"http://s.test/docs/a.html", 2, 1},
                                       {"http://S.TEST/Docs/b.css", 3, 2},
                                       {"http://s.test/docs/", 4, 1}},
                                      {});
    EXPECT_EQ(root->name, "site_files");
    const std::map<std::string, std::string> expected{
        {"s.test/index.html", "http://s.test/"},
        {"s.test/docs/a.html", "http://s.test/docs/a.html"},
        {"s.test/docs/b.css", "http://S.TEST/Docs/b.css"},
        {"s.test/docs[1]/index.html", "http://s.test/docs/"},
    };
    EXPECT_EQ(filesOf(*root), expected);
}

TEST(ExportTreeTest, SiblingsWithTheSameNameAreNumberedInOrder) {
    const auto root = buildExportTree("r",
                                      {{"http://s/a.html", 1, 1},
                                       {"http://s/a.html?x", 2, 1},
                                       {"http://s/a.html", 3, 1},
                                       {"http://s/A.html", 4, 1},
                                       {"http://s/%2e%2e", 5, 2},
                                       {"http://s/..", 6, 2}},
                                      {});
    const std::map<std::string, std::string> expected{
        {"s/a.html/index.html", "http://s/a.html"},
        {"s/a.html/x", "http://s/a.html?x"},
        {"s/a[1].html", "http://s/a.html"},
        {"s/A.html", "http://s/A.html"},
        {"s/__", "http://s/%2e%2e"},
        {"s/__[1]", "http://s/.."},
    };
    EXPECT_EQ(filesOf(*root), expected);
}

TEST(ExportTreeTest, HtmlExtensionAppliesToPagesOnly) {
    const auto root = buildExportTree("r",
                                      {{"http://s/page.php?id=1", 1, 1},
                                       {"http://s/plain", 2, 1},
                                       {"http://s/old.htm", 3, 1},
                                       {"http://s/pic.gif", 4, 3}},
                                      ExportTreeOptions{true, 0});
    const std::map<std::string, std::string> expected{
        {"s/page.php/id=1.html", "http://s/page.php?id=1"},
        {"s/plain.html", "http://s/plain"},
        {"s/old.htm", "http://s/old.htm"},
        {"s/pic.gif", "http://s/pic.gif"},
    };
    EXPECT_EQ(filesOf(*root), expected);
    // A page renamed to ".html" does not take the name of a sibling that has it.
    const auto renamed =
        buildExportTree("r", {{"http://s/page.asp", 1, 1}, {"http://s/page.html", 2, 1}}, ExportTreeOptions{true, 0});
    EXPECT_EQ(filesOf(*renamed), (std::map<std::string, std::string>{{"s/page.html", "http://s/page.asp"},
                                                                     {"s/page[1].html", "http://s/page.html"}}));
}

TEST(ExportTreeTest, RelativePathsClimbToTheCommonFolder) {
    const auto root = buildExportTree(
        "r", {{"http://s/a/b/c.html", 1, 1}, {"http://s/a/d.html", 2, 1}, {"http://t/e.css", 3, 2}}, {});
    const ExportNode &c = nodeAt(*root, "s/a/b/c.html");
    const ExportNode &d = nodeAt(*root, "s/a/d.html");
    const ExportNode &e = nodeAt(*root, "t/e.css");
    EXPECT_EQ(eng::relativeExportPath(c, d), "../d.html");
    EXPECT_EQ(eng::relativeExportPath(d, c), "b/c.html");
    EXPECT_EQ(eng::relativeExportPath(c, e), "../../../t/e.css");
    EXPECT_EQ(eng::relativeExportPath(c, c), "c.html");
}
