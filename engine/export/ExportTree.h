#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The tree of folders and files a task export writes, named from the
// resources' addresses alone (no database, no disk), so the naming can be
// tested on its own.
namespace eng {

struct ExportResource {
    std::string address;
    uint32_t body = 0;  // 0: nothing stored
    int type = 0;       // 1: an HTML page
};

struct ExportNode {
    std::string name;
    std::string address;  // empty for a pure folder
    uint32_t body = 0;
    int type = 0;
    ExportNode *parent = nullptr;
    std::vector<std::unique_ptr<ExportNode>> children;

    bool isFolder() const { return !children.empty(); }
};

struct ExportTreeOptions {
    bool htmlExtension = false;  // HTML files end in ".html"
    size_t nameLength = 0;       // longest folder or file name; 0 means 100
};

// The tree for the resources in their order, under a root with the given
// name. Folders are shared by name without regard to case; each resource adds
// a new file. A folder or an address ending in '/' that has a body gets an
// "index.html" child holding it; names among siblings are made unique with
// "[n]" in child order.
std::unique_ptr<ExportNode> buildExportTree(const std::string &rootName, const std::vector<ExportResource> &resources,
                                            const ExportTreeOptions &options);

// The path from the folder holding `from` to `to`, with "../" for every level
// up to their nearest common ancestor and '/' between names.
std::string relativeExportPath(const ExportNode &from, const ExportNode &to);

// The names from below the root down to the node, joined by '/'.
std::string pathBelowRoot(const ExportNode &node);

}  // namespace eng
