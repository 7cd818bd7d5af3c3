#include "ItemListModel.h"

#include <algorithm>
#include <array>

#include "views/SortOrder.h"
#include "views/StateIcons.h"
#include "views/TaskRow.h"
#include "views/TransferText.h"

namespace {

using sort_order::compareTexts;
using sort_order::compareValues;

int compareBy(int key, const ItemRow &a, const ItemRow &b) {
    switch (key) {
        case ItemListModel::Title:
            return compareTexts(a.title, b.title);
        case ItemListModel::Url:
            return compareTexts(a.address, b.address);
        case ItemListModel::Level:
            return compareValues(a.level, b.level);
        case ItemListModel::Size:
            return compareValues(a.size, b.size);
        case ItemListModel::ContentType:
            return compareTexts(a.contentType, b.contentType);
        case ItemListModel::Modified:
            return compareValues(a.lastModified, b.lastModified);
        case ItemListModel::Retrieved:
            return compareValues(a.completed, b.completed);
        case ItemListModel::ErrorDescription:
            return compareTexts(a.result, b.result);
        case ItemListModel::StateKey:
            return compareValues(a.state, b.state);
        default:
            return compareValues(a.fileType(), b.fileType());
    }
}

// The resource's new values under the item the row shows: a change of a
// resource is announced without its item.
ItemRow withItemOf(const ItemRow &shown, const ItemRow &changed) {
    ItemRow row = changed;
    row.item = shown.item;
    row.task = shown.task;
    row.level = shown.level;
    row.created = shown.created;
    return row;
}

bool queuedOrStopped(uint32_t state) { return state == TaskRow::Queued || state == TaskRow::Stopped; }

}  // namespace

ItemListModel::ItemListModel(QObject *parent) : QAbstractTableModel(parent) {}

void ItemListModel::clear() {
    beginResetModel();
    rows_.clear();
    positions_.clear();
    totalSize_ = 0;
    sortKey_ = -1;
    order_ = Qt::AscendingOrder;
    endResetModel();
}

void ItemListModel::append(std::vector<ItemRow> rows) {
    // A file may have been announced while the rows were read: it is not shown twice.
    std::erase_if(rows, [this](const ItemRow &row) { return !passes(row) || shown(row); });
    if (rows.empty()) return;
    const int first = size();
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    rows_.reserve(rows_.size() + rows.size());
    for (ItemRow &row : rows) {
        positions_.insert(row.resource, size());
        totalSize_ += row.size;
        rows_.push_back(std::move(row));
    }
    endInsertRows();
}

bool ItemListModel::itemAdded(const ItemRow &row) {
    if (task_ == 0 || row.task != task_ || !passes(row)) return false;
    if (indexOf(row.resource) >= 0) return itemChanged(row);
    append({row});
    return true;
}

bool ItemListModel::itemChanged(const ItemRow &row) {
    const QList<int> found = positions_.values(row.resource);
    for (int at : found) {
        ItemRow &shown = rows_[static_cast<size_t>(at)];
        if (queuedOrStopped(shown.state) && queuedOrStopped(row.state) && shown.state != row.state) {
            shown.state = row.state;
        } else {
            totalSize_ = totalSize_ - shown.size + row.size;
            shown = withItemOf(shown, row);
        }
        emit dataChanged(index(at, 0), index(at, ColumnCount - 1));
    }
    return !found.isEmpty();
}

bool ItemListModel::itemRemoved(uint32_t resource) {
    QList<int> found = positions_.values(resource);
    if (found.isEmpty()) return false;
    std::sort(found.begin(), found.end(), std::greater<>());
    for (int at : found) {
        beginRemoveRows({}, at, at);
        totalSize_ -= rows_[static_cast<size_t>(at)].size;
        rows_.erase(rows_.begin() + at);
        endRemoveRows();
    }
    reindex();
    return true;
}

bool ItemListModel::follow(const ItemChange &change) {
    switch (change.action) {
        case ENG_URLRES_ITEM_GOT_RESOURCE:
            return itemAdded(change.row);
        case ENG_URLRES_CHANGED:
            return itemChanged(change.row);
        case ENG_URLRES_DELETING:
            return itemRemoved(change.urlResId);
        default:
            return false;
    }
}

bool ItemListModel::shown(const ItemRow &row) const {
    for (auto at = positions_.constFind(row.resource); at != positions_.cend() && at.key() == row.resource; ++at)
        if (rows_[static_cast<size_t>(at.value())].item == row.item) return true;
    return false;
}

int ItemListModel::indexOf(uint32_t resource) const {
    const QList<int> found = positions_.values(resource);
    return found.isEmpty() ? -1 : *std::min_element(found.begin(), found.end());
}

void ItemListModel::sortBy(int key) {
    if (key < 0 || key >= KeyCount) return;
    order_ = key == sortKey_ && order_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    sortKey_ = key;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Selections and the current row follow their rows: each row remembers its place before the sort.
    const QModelIndexList before = persistentIndexList();
    std::vector<size_t> order(rows_.size());
    for (size_t k = 0; k < order.size(); ++k) order[k] = k;
    const bool descending = order_ == Qt::DescendingOrder;
    std::stable_sort(order.begin(), order.end(), [this, key, descending](size_t a, size_t b) {
        const int compared = compareBy(key, rows_[a], rows_[b]);
        return descending ? compared > 0 : compared < 0;
    });
    std::vector<int> placeOf(order.size());
    std::vector<ItemRow> ordered;
    ordered.reserve(rows_.size());
    for (size_t k = 0; k < order.size(); ++k) {
        placeOf[order[k]] = static_cast<int>(k);
        ordered.push_back(std::move(rows_[order[k]]));
    }
    rows_ = std::move(ordered);
    reindex();
    QModelIndexList after;
    for (const QModelIndex &was : before) after << index(placeOf[static_cast<size_t>(was.row())], was.column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit sorted();
}

void ItemListModel::reindex() {
    positions_.clear();
    positions_.reserve(static_cast<qsizetype>(rows_.size()));
    for (size_t k = 0; k < rows_.size(); ++k) positions_.insert(rows_[k].resource, static_cast<int>(k));
}

int ItemListModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : size(); }

int ItemListModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QString ItemListModel::text(const ItemRow &row, int column) {
    switch (column) {
        case Title:
            return row.caption();
        case Url:
            return row.address;
        case Level:
            return row.levelText();
        case Size:
            return row.sizeText();
        case ContentType:
            return row.contentTypeText();
        case Modified:
            return row.modifiedText();
        case Retrieved:
            return row.completedText();
        default:
            return row.resultText();
    }
}

QVariant ItemListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= size()) return {};
    const ItemRow &item = row(index.row());
    switch (role) {
        case Qt::DisplayRole:
            return text(item, index.column());
        case Qt::DecorationRole:
            return index.column() == Title ? QVariant(stateIcon(item.state)) : QVariant();
        case Qt::ToolTipRole:
            return index.column() == Title ? viewStateName(item.state) : QVariant();
        case Qt::TextAlignmentRole:
            return index.column() == Level || index.column() == Size ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                                     : QVariant();
        default:
            return {};
    }
}

QString ItemListModel::keyCaption(int key) {
    static const std::array<QString, KeyCount> captions = {
        QStringLiteral("Title"),        QStringLiteral("URL"),
        QStringLiteral("Level"),        QStringLiteral("Size"),
        QStringLiteral("Content Type"), QStringLiteral("Modified"),
        QStringLiteral("Retrieved"),    QStringLiteral("Error Description"),
        QStringLiteral("State"),        QStringLiteral("File type")};
    return key >= 0 && key < KeyCount ? captions[static_cast<size_t>(key)] : QString();
}

QVariant ItemListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount) return {};
    return keyCaption(section);
}

Qt::ItemFlags ItemListModel::flags(const QModelIndex &index) const {
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.isValid() && dragSource_ ? flags | Qt::ItemIsDragEnabled : flags;
}

QStringList ItemListModel::mimeTypes() const { return {transfer::kFormat, QStringLiteral("text/uri-list")}; }

QMimeData *ItemListModel::mimeData(const QModelIndexList &indexes) const {
    return indexes.isEmpty() || !dragSource_ ? nullptr : dragSource_();
}
