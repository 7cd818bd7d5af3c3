#include "SitemapModel.h"

#include "views/StateIcons.h"
#include "views/TaskRow.h"

SitemapModel::SitemapModel(Related related, QObject *parent)
    : QAbstractItemModel(parent), related_(std::move(related)), top_(std::make_unique<Node>()) {}

void SitemapModel::reset(const std::optional<ItemRow> &top) {
    beginResetModel();
    top_ = std::make_unique<Node>();
    files_.clear();
    unstored_.clear();
    if (top) top_->children.push_back(makeNode(*top, *top_));
    top_->fetched = true;
    endResetModel();
}

const ItemRow *SitemapModel::shared(const ItemRow &file) {
    if (!file.hasResource()) return unstored_.emplace_back(std::make_unique<ItemRow>(file)).get();
    auto &row = files_[file.resource];
    if (!row) row = std::make_unique<ItemRow>(file);
    return row.get();
}

std::unique_ptr<SitemapModel::Node> SitemapModel::makeNode(const ItemRow &file, Node &parent) {
    auto made = std::make_unique<Node>();
    made->file = shared(file);
    made->parent = &parent;
    made->row = static_cast<int>(parent.children.size());
    for (const Node *above = &parent; above->file && file.hasResource(); above = above->parent) {
        if (above->file->resource == file.resource) {
            made->repeated = true;
            break;
        }
    }
    return made;
}

QString SitemapModel::caption(const ItemRow &file) {
    constexpr int kLength = 200;
    const QString text = file.title.isEmpty() ? file.address : file.title + QStringLiteral(", (") + file.address + u')';
    return text.size() > kLength ? text.left(kLength) + QStringLiteral("...") : text;
}

bool SitemapModel::expandable(const ItemRow &file) { return file.retrieved() && file.type == ItemRow::Html; }

bool SitemapModel::opens(const Node &shown) const { return shown.file && !shown.repeated && expandable(*shown.file); }

SitemapModel::Node &SitemapModel::node(const QModelIndex &index) const {
    return index.isValid() ? *static_cast<Node *>(index.internalPointer()) : *top_;
}

const ItemRow *SitemapModel::file(const QModelIndex &index) const {
    return index.isValid() ? node(index).file : nullptr;
}

QModelIndex SitemapModel::index(int row, int column, const QModelIndex &parent) const {
    const Node &above = node(parent);
    if (column != 0 || row < 0 || static_cast<size_t>(row) >= above.children.size()) return {};
    return createIndex(row, 0, above.children[static_cast<size_t>(row)].get());
}

QModelIndex SitemapModel::parent(const QModelIndex &child) const {
    if (!child.isValid()) return {};
    const Node *above = node(child).parent;
    return above == top_.get() ? QModelIndex() : createIndex(above->row, 0, above);
}

int SitemapModel::rowCount(const QModelIndex &parent) const {
    if (parent.column() > 0) return 0;
    return static_cast<int>(node(parent).children.size());
}

int SitemapModel::columnCount(const QModelIndex &) const { return 1; }

bool SitemapModel::hasChildren(const QModelIndex &parent) const {
    const Node &shown = node(parent);
    if (shown.fetched) return !shown.children.empty();
    return opens(shown);
}

bool SitemapModel::canFetchMore(const QModelIndex &parent) const {
    const Node &shown = node(parent);
    return !shown.fetched && opens(shown);
}

void SitemapModel::fetchMore(const QModelIndex &parent) {
    Node &page = node(parent);
    if (page.fetched || !opens(page)) return;
    page.fetched = true;
    std::vector<std::unique_ptr<Node>> children;
    for (const ItemRow &file : related_(page.file->resource)) {
        if (file.type != ItemRow::Other && file.type != ItemRow::Html) continue;
        auto child = makeNode(file, page);
        child->row = static_cast<int>(children.size());
        children.push_back(std::move(child));
    }
    if (children.empty()) return;
    beginInsertRows(parent, 0, static_cast<int>(children.size()) - 1);
    page.children = std::move(children);
    endInsertRows();
}

QVariant SitemapModel::data(const QModelIndex &index, int role) const {
    const ItemRow *shown = file(index);
    if (!shown) return {};
    const int picture = node(index).repeated                    ? kRepeated
                        : shown->state == TaskRow::NotRetrieved ? kNotRetrieved
                                                                : static_cast<int>(shown->state);
    switch (role) {
        case Qt::DisplayRole:
            return caption(*shown);
        case Qt::DecorationRole:
            return stateIcon(picture == kRepeated ? TaskRow::Done : static_cast<uint32_t>(picture));
        case kStatePictureRole:
            return picture;
        default:
            return {};
    }
}

Qt::ItemFlags SitemapModel::flags(const QModelIndex &index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
