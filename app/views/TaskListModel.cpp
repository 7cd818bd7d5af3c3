#include "TaskListModel.h"

#include <algorithm>
#include <array>
#include <utility>

#include <QMimeData>

#include "SortOrder.h"
#include "StateIcons.h"
#include "TransferText.h"

namespace {

using sort_order::compareTexts;
using sort_order::compareValues;

int compareBy(int key, const TaskRow &a, const TaskRow &b) {
    switch (key) {
        case TaskListModel::Name:
            return compareTexts(a.name, b.name);
        case TaskListModel::Url:
            return compareTexts(a.url, b.url);
        case TaskListModel::Queued:
            return compareValues(a.queued, b.queued);
        case TaskListModel::Retrieved:
            return compareValues(a.retrieved, b.retrieved);
        case TaskListModel::Errors:
            return compareValues(a.errorCount, b.errorCount);
        case TaskListModel::Size:
            return compareValues(a.size, b.size);
        case TaskListModel::Depth:
            return compareValues(a.depth, b.depth);
        case TaskListModel::Created:
            return compareValues(a.done, b.done);  // by completion, as the key is meant
        case TaskListModel::ErrorDescription:
            return compareTexts(a.result, b.result);
        case TaskListModel::StateKey:
            return compareValues(a.state, b.state);
        default:
            return compareValues(a.fileType(), b.fileType());
    }
}

}  // namespace

TaskListModel::TaskListModel(QObject *parent) : QAbstractTableModel(parent) {
    announceTimer_.setSingleShot(true);
    announceTimer_.setInterval(kAnnounceInterval);
    connect(&announceTimer_, &QTimer::timeout, this, &TaskListModel::announceChanges);
}

void TaskListModel::setTransfers(DragSource source, DropReceiver receiver) {
    dragSource_ = std::move(source);
    dropReceiver_ = std::move(receiver);
}

void TaskListModel::reset(uint32_t folder, std::vector<TaskRow> rows) {
    beginResetModel();
    folder_ = folder;
    rows_ = std::move(rows);
    sortKey_ = -1;
    order_ = Qt::AscendingOrder;
    reindex();
    endResetModel();
}

void TaskListModel::clear() { reset(0, {}); }

void TaskListModel::add(const TaskRow &task) {
    if (folder_ == 0 || task.folder != folder_) return;
    if (indexOf(task.id) >= 0) return change(task);
    const int at = static_cast<int>(rows_.size());
    beginInsertRows({}, at, at);
    rows_.push_back(task);
    positions_.insert(task.id, at);
    endInsertRows();
}

void TaskListModel::change(const TaskRow &task) {
    const int at = indexOf(task.id);
    if (at < 0 || task.folder != folder_) return;
    TaskRow &shown = rows_[static_cast<size_t>(at)];
    const bool stateChanged = shown.state != task.state;
    shown = task;
    if (stateChanged) {
        announce(task.id);
        return;
    }
    changed_.insert(task.id);
    if (!announceTimer_.isActive()) announceTimer_.start();
}

void TaskListModel::announceChanges() {
    const QSet<uint32_t> changed = std::exchange(changed_, {});
    for (uint32_t task : changed) announce(task);
}

void TaskListModel::announce(uint32_t task) {
    changed_.remove(task);
    const int at = indexOf(task);
    if (at >= 0) emit dataChanged(index(at, 0), index(at, ColumnCount - 1));
}

void TaskListModel::remove(uint32_t task) {
    const int at = indexOf(task);
    if (at < 0) return;
    beginRemoveRows({}, at, at);
    rows_.erase(rows_.begin() + at);
    reindex();
    endRemoveRows();
}

void TaskListModel::sortBy(int key) {
    if (key < 0 || key >= KeyCount) return;
    order_ = key == sortKey_ && order_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    sortKey_ = key;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<uint32_t> beforeIds;
    for (const QModelIndex &index : before) beforeIds.push_back(rows_[static_cast<size_t>(index.row())].id);
    const bool descending = order_ == Qt::DescendingOrder;
    std::stable_sort(rows_.begin(), rows_.end(), [key, descending](const TaskRow &a, const TaskRow &b) {
        const int order = compareBy(key, a, b);
        return descending ? order > 0 : order < 0;
    });
    reindex();
    QModelIndexList after;
    for (qsizetype k = 0; k < before.size(); ++k)
        after << index(indexOf(beforeIds[static_cast<size_t>(k)]), before[k].column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit sorted();
}

void TaskListModel::reindex() {
    positions_.clear();
    positions_.reserve(static_cast<qsizetype>(rows_.size()));
    for (size_t k = 0; k < rows_.size(); ++k) positions_.insert(rows_[k].id, static_cast<int>(k));
}

int TaskListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TaskListModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QString TaskListModel::text(const TaskRow &task, int column) const {
    switch (column) {
        case Name:
            return task.caption();
        case Url:
            return task.url;
        case Queued:
            return QString::number(task.queued);
        case Retrieved:
            return QString::number(task.retrievedWell());
        case Errors:
            return QString::number(task.errorCount);
        case Size:
            return groupedNumber(task.size);
        case Depth:
            return QString::number(task.depth);
        case Created:
            return dateText(task.created);
        default:
            return task.result;
    }
}

QVariant TaskListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const TaskRow &task = row(index.row());
    switch (role) {
        case Qt::DisplayRole:
            return text(task, index.column());
        case Qt::EditRole:
            return index.column() == Name ? task.name : text(task, index.column());
        case Qt::DecorationRole:
            return index.column() == Name ? QVariant(stateIcon(task.state)) : QVariant();
        case Qt::ToolTipRole:
            return index.column() == Name ? viewStateName(task.state) : QVariant();
        case Qt::TextAlignmentRole:
            return index.column() >= Queued && index.column() <= Depth ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                                       : QVariant();
        default:
            return {};
    }
}

QVariant TaskListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const std::array<QString, ColumnCount> titles = {
        QStringLiteral("Name"),      QStringLiteral("Url"),     QStringLiteral("Queued"),
        QStringLiteral("Retrieved"), QStringLiteral("Errors"),  QStringLiteral("Size"),
        QStringLiteral("Depth"),     QStringLiteral("Created"), QStringLiteral("Error Description")};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount) return {};
    return titles[static_cast<size_t>(section)];
}

Qt::ItemFlags TaskListModel::flags(const QModelIndex &index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    const Qt::ItemFlags flags =
        Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    return index.column() == Name ? flags | Qt::ItemIsEditable : flags;
}

bool TaskListModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::EditRole || index.column() != Name || !renamer_ || index.row() >= rowCount()) return false;
    return renamer_(row(index.row()).id, value.toString());
}

QStringList TaskListModel::mimeTypes() const {
    return {transfer::kFormat, QStringLiteral("text/uri-list"), QStringLiteral("text/plain")};
}

QMimeData *TaskListModel::mimeData(const QModelIndexList &indexes) const {
    if (!dragSource_) return nullptr;
    std::vector<uint32_t> tasks;
    for (const QModelIndex &index : indexes)
        if (index.column() == 0) tasks.push_back(row(index.row()).id);
    return tasks.empty() ? nullptr : dragSource_(tasks);
}

bool TaskListModel::canDropMimeData(const QMimeData *data, Qt::DropAction, int, int, const QModelIndex &) const {
    return folder_ != 0 && data && dropReceiver_ &&
           (data->hasFormat(transfer::kFormat) || data->hasUrls() || data->hasText());
}

bool TaskListModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                                 const QModelIndex &parent) {
    if (!canDropMimeData(data, action, row, column, parent)) return false;
    dropReceiver_(*data);
    // The receiver has moved or created the tasks; the view must not remove the dragged rows itself.
    return false;
}

Qt::DropActions TaskListModel::supportedDropActions() const { return Qt::CopyAction | Qt::MoveAction; }

Qt::DropActions TaskListModel::supportedDragActions() const { return Qt::MoveAction; }
