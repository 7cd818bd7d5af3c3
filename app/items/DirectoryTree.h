#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QString>
#include <QStringView>

// The addresses of a task's files arranged as folders and files, level by
// level, as the Directory tab shows them.
//
// At each level an address text is split at its first run of slashes ("/"
// or "\"): the part before the run's last slash names a folder, the part
// after it continues one level down. No split is made when a "?" comes
// before the run or there is no slash: the text is then a file of that
// level. Texts whose folder names differ only in case share one folder
// node, named as the first of them in address order. Within a folder the
// folders come first, then the files, each group sorted by text (case
// ignored first). Joining the node texts from the top with "/" gives the
// address back (up to the case of shared folder names, and with "/" for
// every "\" that ended a run).
//
// A folder's children are made only when it is filled (when it is first
// shown open): until then it keeps the rests of its addresses unsplit.
// Addresses can be added at any time; each lands at its place.
class DirectoryTree {
public:
    // An address split at one level.
    struct Split {
        bool split = false;       // false: the text is a file of this level
        qsizetype folderEnd = 0;  // the folder name is text[0, folderEnd)
        qsizetype rest = 0;       // the next level starts here
    };
    // Splits the text of one level.
    static Split split(QStringView text);

    class Node {
    public:
        // A folder's name, or a file's part ("" for an address ending in a slash).
        const QString &text() const { return text_; }
        bool folder() const { return folder_; }
        // A file's entry: the position of its address in the order given.
        size_t entry() const { return entry_; }
        const Node *parent() const { return parent_; }
        // A folder's children, once it has been filled.
        const std::vector<std::unique_ptr<Node>> &children() const { return children_; }
        bool filled() const { return filled_; }
        // The text shown: "(Default page)" for an empty file part.
        QString caption() const;

    private:
        friend class DirectoryTree;
        // An address not yet split below this folder: its entry and where its rest starts.
        struct Pending {
            size_t entry;
            qsizetype offset;
        };

        QString text_;
        bool folder_ = true;
        bool filled_ = false;
        size_t entry_ = 0;
        Node *parent_ = nullptr;
        int row_ = 0;  // a folder's position among its parent's children
        std::vector<std::unique_ptr<Node>> children_;
        std::vector<Pending> pending_;
    };

    DirectoryTree();

    // Starts over with the addresses (their entries are their positions);
    // the top level is filled.
    void reset(std::vector<QString> addresses);
    const Node &root() const { return *root_; }
    size_t entryCount() const { return addresses_.size(); }
    const QString &addressOf(size_t entry) const { return addresses_[entry]; }
    // The file node of an entry; null while its folder has not been filled.
    const Node *fileNode(size_t entry) const { return files_[entry]; }

    // Called when a folder's children have been made, right before they are
    // put in: how many there are.
    using Filling = std::function<void(int count)>;
    // Makes the folder's children; false when it had them already.
    bool fill(const Node &folder, const Filling &filling = {});
    // Called right before a node is put among children already made: the
    // parent and the row it will take.
    using Inserting = std::function<void(const Node &parent, int row)>;
    // Adds an address as the next entry (returned). When it lands in a folder
    // already filled, the inserting call comes first.
    size_t insert(const QString &address, const Inserting &inserting);

    // Takes a node out of children already made: the parent, the node's row,
    // and the taking out itself, for the caller to wrap.
    using Removing = std::function<void(const Node &parent, int row, const std::function<void()> &remove)>;
    // Takes the entry's file out, and the folders it leaves empty; the
    // removing call wraps each node taken out of children already made.
    // Nothing when the entry has gone already.
    void remove(size_t entry, const Removing &removing);

    // The child of a filled folder that the text continues in (the folder of
    // its split, or the file of that exact text); null when there is none.
    static const Node *childFor(const Node &folder, QStringView text);
    // The position of a node among its parent's children. A folder keeps
    // it; a file's is looked up, so that a file arriving does not renumber
    // the many files after it.
    static int row(const Node &node);
    // The node texts from the top joined with "/".
    static QString address(const Node &node);

private:
    // The tree owns every node and hands them out as const only.
    static Node &mutableNode(const Node &node) { return const_cast<Node &>(node); }
    std::unique_ptr<Node> makeFile(size_t entry, QStringView text, Node &parent);
    // Takes the node out of its parent's children, then the parent when that
    // leaves it empty (the top stays).
    void detach(const Node &node, const Removing &removing);
    // The folders from the row on take their rows again.
    static void renumberFolders(std::vector<std::unique_ptr<Node>> &children, int from);
    // Puts the child in its place among the parent's children and renumbers those after it.
    void place(Node &parent, std::unique_ptr<Node> child, const Inserting &inserting);

    std::vector<QString> addresses_;
    std::vector<const Node *> files_;  // by entry; null until made, and once removed
    std::unique_ptr<Node> root_;
};
