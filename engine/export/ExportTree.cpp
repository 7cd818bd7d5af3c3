#include "export/ExportTree.h"

#include "base/AsciiText.h"
#include "content/LocalFileNames.h"
#include "content/ResourceType.h"
#include "export/ExportNames.h"

namespace eng {
namespace {

ExportNode &addChild(ExportNode &parent, std::string name) {
    auto child = std::make_unique<ExportNode>();
    child->name = std::move(name);
    child->parent = &parent;
    parent.children.push_back(std::move(child));
    return *parent.children.back();
}

ExportNode &folderChild(ExportNode &parent, const std::string &name) {
    for (const auto &child : parent.children)
        if (equalsNoCase(child->name, name)) return *child;
    return addChild(parent, name);
}

void addResource(ExportNode &root, const ExportResource &resource, size_t nameLength) {
    const std::vector<std::string> segments = exportSegments(resource.address, nameLength);
    if (segments.empty()) return;
    ExportNode *node = &root;
    for (size_t i = 0; i + 1 < segments.size(); ++i) node = &folderChild(*node, segments[i]);
    ExportNode &file = addChild(*node, segments.back());
    file.address = resource.address;
    file.body = resource.body;
    file.type = resource.type;
}

// A node with a body that is a folder or stands for a folder address holds
// its body in an "index.html" of its own.
bool getsIndexFile(const ExportNode &node) {
    return node.body != 0 && (node.isFolder() || (!node.address.empty() && node.address.back() == '/'));
}

void nameNode(ExportNode &node, const ExportTreeOptions &options) {
    const ExportNode *index = nullptr;
    if (getsIndexFile(node)) {
        ExportNode &child = addChild(node, "index.html");
        child.address = node.address;
        child.body = node.body;
        child.type = node.type;
        node.type = 0;
        index = &child;
    }
    // A page's ".html" name is taken before the names are made unique, so
    // that "page.asp" and "page.html" do not both end up as "page.html".
    std::vector<std::string> taken;
    for (const auto &child : node.children) {
        const bool page = child->type == static_cast<int>(ResType::Html) && !getsIndexFile(*child);
        if (page && options.htmlExtension) child->name = htmlFileName(child->name);
        child->name = uniqueExportName(child->name, taken);
        taken.push_back(child->name);
    }
    for (const auto &child : node.children)
        if (child.get() != index) nameNode(*child, options);
}

std::vector<const ExportNode *> chainFromRoot(const ExportNode &node) {
    std::vector<const ExportNode *> chain;
    for (const ExportNode *at = &node; at != nullptr; at = at->parent) chain.insert(chain.begin(), at);
    return chain;
}

}  // namespace

std::unique_ptr<ExportNode> buildExportTree(const std::string &rootName, const std::vector<ExportResource> &resources,
                                            const ExportTreeOptions &options) {
    auto root = std::make_unique<ExportNode>();
    root->name = rootName;
    for (const ExportResource &resource : resources) addResource(*root, resource, options.nameLength);
    nameNode(*root, options);
    return root;
}

std::string relativeExportPath(const ExportNode &from, const ExportNode &to) {
    const std::vector<const ExportNode *> fromChain = chainFromRoot(from);
    const std::vector<const ExportNode *> toChain = chainFromRoot(to);
    // The folder holding `from` is its parent, so only the chain above it counts.
    size_t common = 0;
    while (common + 1 < fromChain.size() && common < toChain.size() && fromChain[common] == toChain[common]) ++common;
    std::string path;
    for (size_t i = common; i + 1 < fromChain.size(); ++i) path += "../";
    for (size_t i = common; i < toChain.size(); ++i) {
        path += toChain[i]->name;
        if (i + 1 < toChain.size()) path += '/';
    }
    return path;
}

std::string pathBelowRoot(const ExportNode &node) {
    const std::vector<const ExportNode *> chain = chainFromRoot(node);
    std::string path;
    for (size_t i = 1; i < chain.size(); ++i) {
        if (i > 1) path += '/';
        path += chain[i]->name;
    }
    return path;
}

}  // namespace eng
