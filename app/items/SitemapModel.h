#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include <QAbstractItemModel>

#include "ItemRow.h"

// The link tree of a task, one column: its main file at the top, and below
// each retrieved HTML page the files it embeds and links to (of type 0 or
// 1), read when the page is first shown open (fetchMore). A page already
// shown above itself on the way to the top is shown again, marked, and not
// opened further, so that the tree ends even where pages link in circles.
// One resource shown at several places shares one row.
class SitemapModel : public QAbstractItemModel {
    Q_OBJECT

public:
    // The files a page embeds, then those it links to (the engine's relation
    // groups 1 and 2), in that order.
    using Related = std::function<std::vector<ItemRow>(uint32_t resource)>;
    // The state picture of a file shown again below itself; it is drawn as
    // the legend's "Look up the hierarchy".
    static constexpr int kRepeated = 1;
    // The state picture of a file in view state 0.
    static constexpr int kNotRetrieved = 8;
    static constexpr int kStatePictureRole = Qt::UserRole;

    explicit SitemapModel(Related related, QObject *parent = nullptr);

    // Starts over with the main file at the top; none leaves the tree empty.
    void reset(const std::optional<ItemRow> &top);
    // The file a node shows.
    const ItemRow *file(const QModelIndex &index) const;
    // The text of a node: title + ", (" + address + ")", or the address alone
    // without a title, cut to 200 characters with "...".
    static QString caption(const ItemRow &file);
    // Whether a file's node can be opened: a retrieved HTML page.
    static bool expandable(const ItemRow &file);

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct Node {
        const ItemRow *file = nullptr;  // null for the invisible top
        Node *parent = nullptr;
        int row = 0;
        bool repeated = false;  // the file is shown above this node already
        bool fetched = false;
        std::vector<std::unique_ptr<Node>> children;
    };

    Node &node(const QModelIndex &index) const;
    bool opens(const Node &node) const;
    // The one row of a resource (a file never retrieved has one of its own).
    const ItemRow *shared(const ItemRow &file);
    std::unique_ptr<Node> makeNode(const ItemRow &file, Node &parent);

    Related related_;
    std::unique_ptr<Node> top_;
    std::unordered_map<uint32_t, std::unique_ptr<ItemRow>> files_;  // by resource
    std::vector<std::unique_ptr<ItemRow>> unstored_;                // files without a resource
};
