#pragma once

#include <functional>
#include <vector>

#include <QAbstractTableModel>
#include <QHash>
#include <QSet>
#include <QTimer>

#include "TaskRow.h"

// The tasks of one folder as rows, one per task record, kept as the
// engine's notifications tell (added, changed, removed) without reading the
// folder again. Sorting by one of eleven keys; rows drag out as a move of
// the tasks, and what is dropped on the list goes to the receiver.
class TaskListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Name, Url, Queued, Retrieved, Errors, Size, Depth, Created, ErrorDescription, ColumnCount };
    // The sort keys beyond the columns.
    enum ExtraKey { StateKey = ColumnCount, FileTypeKey, KeyCount };
    // Turns dragged rows into transfer data; takes what is dropped on the list.
    using DragSource = std::function<QMimeData *(const std::vector<uint32_t> &tasks)>;
    using DropReceiver = std::function<bool(const QMimeData &data)>;
    // Writes a task's new name; true when it was written.
    using Renamer = std::function<bool(uint32_t task, const QString &name)>;

    explicit TaskListModel(QObject *parent = nullptr);

    void setTransfers(DragSource source, DropReceiver receiver);
    void setRenamer(Renamer renamer) { renamer_ = std::move(renamer); }
    // Shows the folder's rows in the order given; sorting starts over.
    void reset(uint32_t folder, std::vector<TaskRow> rows);
    // Forgets the folder and its rows.
    void clear();
    uint32_t folder() const { return folder_; }

    const TaskRow &row(int index) const { return rows_[static_cast<size_t>(index)]; }
    // The row's index; -1 when no row has the task.
    int indexOf(uint32_t task) const { return positions_.value(task, -1); }

    // A task of the folder arrived (or was there: its row is reloaded).
    void add(const TaskRow &task);
    // The row of a task of the folder is reloaded. A running task changes
    // with every file it stores: its row takes the values at once, the views
    // hear of it at most every kAnnounceInterval, unless its state changed.
    void change(const TaskRow &task);
    static constexpr int kAnnounceInterval = 200;  // milliseconds
    void remove(uint32_t task);

    // Sorts by the key: the key in use again flips the direction.
    void sortBy(int key);
    int sortKey() const { return sortKey_; }
    Qt::SortOrder sortOrder() const { return order_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // A name edited in place goes to the renamer; the row follows the engine's announcement.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;

signals:
    void sorted();

private:
    void reindex();
    // Tells the views of the rows changed since the last time.
    void announceChanges();
    void announce(uint32_t task);
    QString text(const TaskRow &task, int column) const;

    uint32_t folder_ = 0;
    std::vector<TaskRow> rows_;
    QHash<uint32_t, int> positions_;
    QSet<uint32_t> changed_;  // tasks whose rows changed unannounced
    QTimer announceTimer_;
    int sortKey_ = -1;
    Qt::SortOrder order_ = Qt::AscendingOrder;
    DragSource dragSource_;
    DropReceiver dropReceiver_;
    Renamer renamer_;
};
