#pragma once

#include <vector>

#include <QAbstractItemModel>
#include <QHash>

#include "DirectoryTree.h"
#include "ItemRow.h"

// The files of a task as folders and files (DirectoryTree), one column. A
// folder's children are made when the view first asks for them (fetchMore,
// as a tree view does on expanding), so that a task of many files opens at
// once. Files arriving later are inserted at their place; a file whose
// resource changes shows its new state.
class DirectoryModel : public QAbstractItemModel {
    Q_OBJECT

public:
    explicit DirectoryModel(QObject *parent = nullptr);

    // Shows the files, sorted by address first.
    void reset(std::vector<ItemRow> files);
    // A file that arrived: inserted at its place (a file already shown is updated).
    void add(const ItemRow &file);
    // The file with the same resource shows the resource's values of this one.
    void change(const ItemRow &file);
    // The file of the resource is taken out, with the folders it leaves empty.
    void remove(uint32_t resource);
    // How many files the tree holds.
    size_t fileCount() const { return static_cast<size_t>(entries_.size()); }

    // The file a node shows; null for a folder.
    const ItemRow *file(const QModelIndex &index) const;
    // The address a node stands for.
    QString address(const QModelIndex &index) const;
    // The node of the file with the address and form data, its folders filled on
    // the way; invalid when the tree has no such file.
    QModelIndex find(const QString &address, const QString &formData);

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
    const DirectoryTree::Node &node(const QModelIndex &index) const;
    QModelIndex indexOf(const DirectoryTree::Node &node) const;

    DirectoryTree tree_;
    std::vector<ItemRow> files_;       // by the tree's entries
    QHash<uint32_t, size_t> entries_;  // resource to entry
};
