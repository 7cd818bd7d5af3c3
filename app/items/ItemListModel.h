#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QAbstractTableModel>
#include <QMultiHash>

#include "ItemChange.h"
#include "ItemRow.h"

// The stored files of an item view as rows: loaded from the engine's pairs,
// then kept as the engine's item notifications tell (added, changed,
// removed) without asking the engine again. Rows are found by their URL
// resource; the type filter decides which files of the view's task a load
// or an addition takes; ten sort keys, the key in use again flipping the
// direction.
class ItemListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Title, Url, Level, Size, ContentType, Modified, Retrieved, ErrorDescription, ColumnCount };
    // The sort keys beyond the columns.
    enum ExtraKey { StateKey = ColumnCount, IconKey, KeyCount };

    explicit ItemListModel(QObject *parent = nullptr);

    // The task whose new files the list takes (0: none, as for search results).
    void setTask(uint32_t task) { task_ = task; }
    uint32_t task() const { return task_; }
    // The type-filter bits (ItemRow::typeBit) of the files a load or an addition takes.
    void setTypeMask(uint32_t mask) { typeMask_ = mask; }
    uint32_t typeMask() const { return typeMask_; }
    bool passes(const ItemRow &row) const { return (row.typeBit() & typeMask_) != 0; }

    // Dragged rows are the view's selection: the source makes their data.
    void setDragSource(std::function<QMimeData *()> source) { dragSource_ = std::move(source); }

    // Forgets every row; sorting starts over.
    void clear();
    // Appends the rows that pass the filter, in their order.
    void append(std::vector<ItemRow> rows);

    // A new file: appended when it belongs to the view's task and passes the
    // filter (a file already shown is updated instead). True when the list changed.
    bool itemAdded(const ItemRow &row);
    // The rows of the row's resource take its resource's values, each keeping
    // its own item (a change of a resource comes without one); a change of state between
    // queued and stopped (either way) changes only the state, as such a
    // change says nothing new of the file. True when a row had the resource.
    bool itemChanged(const ItemRow &row);
    // The rows of the resource go. True when there were any.
    bool itemRemoved(uint32_t resource);
    // One of the three above, as the engine's notification says.
    bool follow(const ItemChange &change);

    int size() const { return static_cast<int>(rows_.size()); }
    const ItemRow &row(int index) const { return rows_[static_cast<size_t>(index)]; }
    // The first row of the resource; -1 when no row has it.
    int indexOf(uint32_t resource) const;
    // The sum of the rows' sizes.
    uint64_t totalSize() const { return totalSize_; }

    // Sorts by the key: the key in use again flips the direction.
    void sortBy(int key);
    int sortKey() const { return sortKey_; }
    Qt::SortOrder sortOrder() const { return order_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

    // The caption of a column, or of a sort key beyond them.
    static QString keyCaption(int key);

signals:
    void sorted();

private:
    void reindex();
    // Whether a row shows the item already.
    bool shown(const ItemRow &row) const;
    static QString text(const ItemRow &row, int column);

    std::function<QMimeData *()> dragSource_;
    uint32_t task_ = 0;
    uint32_t typeMask_ = ItemRow::kAllTypes;
    std::vector<ItemRow> rows_;
    QMultiHash<uint32_t, int> positions_;  // resource key to row
    uint64_t totalSize_ = 0;
    int sortKey_ = -1;
    Qt::SortOrder order_ = Qt::AscendingOrder;
};
