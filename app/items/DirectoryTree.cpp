#include "DirectoryTree.h"

#include <algorithm>

namespace {

bool isSlash(QChar c) { return c == u'/' || c == u'\\'; }

// The order of texts within a group: case ignored first, then by case, so
// that the order is total and the same however the texts arrived.
int compareTexts(QStringView a, QStringView b) {
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded : a.compare(b, Qt::CaseSensitive);
}

// Folders before files, each group sorted by text.
bool comesBefore(const DirectoryTree::Node &a, const DirectoryTree::Node &b) {
    if (a.folder() != b.folder()) return a.folder();
    return compareTexts(a.text(), b.text()) < 0;
}

}  // namespace

DirectoryTree::Split DirectoryTree::split(QStringView text) {
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text[at] == u'?') return {};
        if (!isSlash(text[at])) continue;
        qsizetype last = at;
        while (last + 1 < text.size() && isSlash(text[last + 1])) ++last;
        return {true, last, last + 1};
    }
    return {};
}

QString DirectoryTree::Node::caption() const {
    return !folder_ && text_.isEmpty() ? QStringLiteral("(Default page)") : text_;
}

DirectoryTree::DirectoryTree() { reset({}); }

void DirectoryTree::reset(std::vector<QString> addresses) {
    addresses_ = std::move(addresses);
    files_.assign(addresses_.size(), nullptr);
    root_ = std::make_unique<Node>();
    root_->pending_.reserve(addresses_.size());
    for (size_t entry = 0; entry < addresses_.size(); ++entry) root_->pending_.push_back({entry, 0});
    fill(*root_);
}

std::unique_ptr<DirectoryTree::Node> DirectoryTree::makeFile(size_t entry, QStringView text, Node &parent) {
    auto file = std::make_unique<Node>();
    file->text_ = text.toString();
    file->folder_ = false;
    file->filled_ = true;
    file->entry_ = entry;
    file->parent_ = &parent;
    files_[entry] = file.get();
    return file;
}

bool DirectoryTree::fill(const Node &shown, const Filling &filling) {
    Node &folder = mutableNode(shown);
    if (folder.filled_) return false;
    std::vector<std::unique_ptr<Node>> folders;
    std::vector<std::unique_ptr<Node>> files;
    for (const Node::Pending &pending : folder.pending_) {
        const QStringView text = QStringView(addresses_[pending.entry]).mid(pending.offset);
        const Split at = split(text);
        if (!at.split) {
            files.push_back(makeFile(pending.entry, text, folder));
            continue;
        }
        auto node = std::make_unique<Node>();
        node->text_ = text.left(at.folderEnd).toString();
        node->parent_ = &folder;
        node->pending_.push_back({pending.entry, pending.offset + at.rest});
        folders.push_back(std::move(node));
    }
    // Stable: of folder names equal but for case, the first in address order names the node.
    const auto byFoldedName = [](const auto &a, const auto &b) {
        return a->text_.compare(b->text_, Qt::CaseInsensitive) < 0;
    };
    std::stable_sort(folders.begin(), folders.end(), byFoldedName);
    std::vector<std::unique_ptr<Node>> children;
    children.reserve(files.size() + folders.size());
    for (auto &node : folders) {
        if (!children.empty() && children.back()->text_.compare(node->text_, Qt::CaseInsensitive) == 0)
            children.back()->pending_.push_back(node->pending_.front());
        else
            children.push_back(std::move(node));
    }
    std::stable_sort(files.begin(), files.end(), [](const auto &a, const auto &b) { return comesBefore(*a, *b); });
    for (auto &file : files) children.push_back(std::move(file));
    for (size_t row = 0; row < children.size(); ++row) children[row]->row_ = static_cast<int>(row);
    if (filling) filling(static_cast<int>(children.size()));
    folder.children_ = std::move(children);
    folder.pending_ = {};
    folder.filled_ = true;
    return true;
}

void DirectoryTree::renumberFolders(std::vector<std::unique_ptr<Node>> &children, int from) {
    // Only the folders keep their rows, and they come first.
    for (size_t k = static_cast<size_t>(from); k < children.size() && children[k]->folder_; ++k)
        children[k]->row_ = static_cast<int>(k);
}

void DirectoryTree::place(Node &parent, std::unique_ptr<Node> child, const Inserting &inserting) {
    auto &children = parent.children_;
    const auto at = std::upper_bound(children.begin(), children.end(), child,
                                     [](const auto &a, const auto &b) { return comesBefore(*a, *b); });
    const auto row = static_cast<int>(at - children.begin());
    if (inserting) inserting(parent, row);
    children.insert(at, std::move(child));
    renumberFolders(children, row);
}

size_t DirectoryTree::insert(const QString &address, const Inserting &inserting) {
    const size_t entry = addresses_.size();
    addresses_.push_back(address);
    files_.push_back(nullptr);
    Node *folder = root_.get();
    qsizetype offset = 0;
    while (folder->filled_) {
        const QStringView text = QStringView(addresses_[entry]).mid(offset);
        const Split at = split(text);
        if (!at.split) {
            place(*folder, makeFile(entry, text, *folder), inserting);
            return entry;
        }
        if (const Node *existing = childFor(*folder, text)) {
            folder = &mutableNode(*existing);
            offset += at.rest;
            continue;
        }
        auto node = std::make_unique<Node>();
        node->text_ = text.left(at.folderEnd).toString();
        node->parent_ = folder;
        node->pending_.push_back({entry, offset + at.rest});
        place(*folder, std::move(node), inserting);
        return entry;
    }
    folder->pending_.push_back({entry, offset});
    return entry;
}

void DirectoryTree::remove(size_t entry, const Removing &removing) {
    if (entry >= addresses_.size()) return;
    if (const Node *file = files_[entry]) {
        files_[entry] = nullptr;
        detach(*file, removing);
        return;
    }
    // Not made yet: it waits unsplit in a folder not yet filled.
    Node *folder = root_.get();
    qsizetype offset = 0;
    while (folder->filled_) {
        const QStringView text = QStringView(addresses_[entry]).mid(offset);
        const Split at = split(text);
        const Node *next = at.split ? childFor(*folder, text) : nullptr;
        if (!next) return;
        folder = &mutableNode(*next);
        offset += at.rest;
    }
    std::erase_if(folder->pending_, [&](const Node::Pending &pending) { return pending.entry == entry; });
    if (folder->pending_.empty() && folder != root_.get()) detach(*folder, removing);
}

void DirectoryTree::detach(const Node &node, const Removing &removing) {
    Node &parent = *node.parent_;
    const int at = row(node);
    const auto take = [&] {
        auto &children = parent.children_;
        children.erase(children.begin() + at);
        renumberFolders(children, at);
    };
    if (removing)
        removing(parent, at, take);
    else
        take();
    if (parent.children_.empty() && parent.parent_) detach(parent, removing);
}

const DirectoryTree::Node *DirectoryTree::childFor(const Node &folder, QStringView text) {
    const Split at = split(text);
    const QStringView name = at.split ? text.left(at.folderEnd) : text;
    // The children are in order: folders by name (no two equal but for case), then files.
    const auto &children = folder.children_;
    const auto found =
        std::lower_bound(children.begin(), children.end(), name, [&](const auto &child, QStringView key) {
            if (child->folder_ != at.split) return child->folder_;
            return (at.split ? child->text_.compare(key, Qt::CaseInsensitive) : compareTexts(child->text_, key)) < 0;
        });
    if (found == children.end() || (*found)->folder_ != at.split) return nullptr;
    const bool same = at.split ? (*found)->text_.compare(name, Qt::CaseInsensitive) == 0 : (*found)->text_ == name;
    return same ? found->get() : nullptr;
}

int DirectoryTree::row(const Node &node) {
    if (node.folder_) return node.row_;
    const auto &siblings = node.parent_->children_;
    auto at = std::lower_bound(siblings.begin(), siblings.end(), node,
                               [](const auto &sibling, const Node &key) { return comesBefore(*sibling, key); });
    while (at->get() != &node) ++at;  // past files of the same text
    return static_cast<int>(at - siblings.begin());
}

QString DirectoryTree::address(const Node &node) {
    std::vector<const Node *> path;
    for (const Node *at = &node; at->parent_; at = at->parent_) path.push_back(at);
    QString joined;
    for (auto at = path.rbegin(); at != path.rend(); ++at) {
        if (at != path.rbegin()) joined += u'/';
        joined += (*at)->text_;
    }
    return joined;
}
