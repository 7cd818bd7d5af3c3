#include "DirectoryModel.h"

#include <algorithm>

#include <QApplication>
#include <QStyle>

#include "views/StateIcons.h"

DirectoryModel::DirectoryModel(QObject *parent) : QAbstractItemModel(parent) {}

void DirectoryModel::reset(std::vector<ItemRow> files) {
    std::stable_sort(files.begin(), files.end(), [](const ItemRow &a, const ItemRow &b) {
        return a.address.compare(b.address, Qt::CaseInsensitive) < 0;
    });
    beginResetModel();
    files_ = std::move(files);
    entries_.clear();
    std::vector<QString> addresses;
    addresses.reserve(files_.size());
    for (size_t entry = 0; entry < files_.size(); ++entry) {
        addresses.push_back(files_[entry].address);
        if (files_[entry].hasResource()) entries_.insert(files_[entry].resource, entry);
    }
    tree_.reset(std::move(addresses));
    endResetModel();
}

void DirectoryModel::add(const ItemRow &file) {
    if (file.hasResource() && entries_.contains(file.resource)) {
        change(file);
        return;
    }
    bool announced = false;
    files_.push_back(file);
    const size_t entry = tree_.insert(file.address, [&](const DirectoryTree::Node &parent, int row) {
        beginInsertRows(indexOf(parent), row, row);
        announced = true;
    });
    if (file.hasResource()) entries_.insert(file.resource, entry);
    if (announced) endInsertRows();
}

void DirectoryModel::change(const ItemRow &file) {
    const auto found = entries_.constFind(file.resource);
    if (!file.hasResource() || found == entries_.cend()) return;
    // A resource's change comes without its item: the item's values stay.
    ItemRow &shown = files_[*found];
    const ItemRow before = shown;
    shown = file;
    shown.item = before.item;
    shown.task = before.task;
    shown.level = before.level;
    shown.created = before.created;
    if (const DirectoryTree::Node *node = tree_.fileNode(*found)) {
        const QModelIndex at = indexOf(*node);
        emit dataChanged(at, at);
    }
}

void DirectoryModel::remove(uint32_t resource) {
    const auto found = entries_.constFind(resource);
    if (found == entries_.cend()) return;
    const size_t entry = *found;
    entries_.erase(found);
    tree_.remove(entry, [this](const DirectoryTree::Node &parent, int row, const std::function<void()> &take) {
        beginRemoveRows(indexOf(parent), row, row);
        take();
        endRemoveRows();
    });
}

const DirectoryTree::Node &DirectoryModel::node(const QModelIndex &index) const {
    return index.isValid() ? *static_cast<const DirectoryTree::Node *>(index.internalPointer()) : tree_.root();
}

QModelIndex DirectoryModel::indexOf(const DirectoryTree::Node &node) const {
    if (!node.parent()) return {};
    return createIndex(DirectoryTree::row(node), 0, &node);
}

const ItemRow *DirectoryModel::file(const QModelIndex &index) const {
    if (!index.isValid() || node(index).folder()) return nullptr;
    return &files_[node(index).entry()];
}

QString DirectoryModel::address(const QModelIndex &index) const { return DirectoryTree::address(node(index)); }

QModelIndex DirectoryModel::find(const QString &address, const QString &formData) {
    const DirectoryTree::Node *folder = &tree_.root();
    qsizetype offset = 0;
    while (folder) {
        fetchMore(indexOf(*folder));
        const QStringView rest = QStringView(address).mid(offset);
        const DirectoryTree::Node *next = DirectoryTree::childFor(*folder, rest);
        if (!next) return {};
        if (!next->folder()) {
            // Files of one address differ by their form data: the one asked for, or none.
            for (const auto &sibling : folder->children()) {
                if (sibling->folder() || sibling->text() != next->text()) continue;
                if (files_[sibling->entry()].formData == formData) return indexOf(*sibling);
            }
            return {};
        }
        offset += DirectoryTree::split(rest).rest;
        folder = next;
    }
    return {};
}

QModelIndex DirectoryModel::index(int row, int column, const QModelIndex &parent) const {
    const DirectoryTree::Node &folder = node(parent);
    if (column != 0 || row < 0 || static_cast<size_t>(row) >= folder.children().size()) return {};
    return createIndex(row, 0, folder.children()[static_cast<size_t>(row)].get());
}

QModelIndex DirectoryModel::parent(const QModelIndex &child) const {
    if (!child.isValid()) return {};
    return indexOf(*node(child).parent());
}

int DirectoryModel::rowCount(const QModelIndex &parent) const {
    if (parent.column() > 0) return 0;
    return static_cast<int>(node(parent).children().size());
}

int DirectoryModel::columnCount(const QModelIndex &) const { return 1; }

bool DirectoryModel::hasChildren(const QModelIndex &parent) const {
    const DirectoryTree::Node &folder = node(parent);
    // A folder not yet filled holds at least one address.
    return folder.folder() && (!folder.filled() || !folder.children().empty());
}

bool DirectoryModel::canFetchMore(const QModelIndex &parent) const { return !node(parent).filled(); }

void DirectoryModel::fetchMore(const QModelIndex &parent) {
    bool announced = false;
    tree_.fill(node(parent), [&](int count) {
        if (count == 0) return;
        beginInsertRows(parent, 0, count - 1);
        announced = true;
    });
    if (announced) endInsertRows();
}

QVariant DirectoryModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid()) return {};
    const DirectoryTree::Node &shown = node(index);
    switch (role) {
        case Qt::DisplayRole:
            return shown.caption();
        case Qt::DecorationRole:
            if (shown.folder()) return QApplication::style()->standardIcon(QStyle::SP_DirIcon);
            return stateIcon(files_[shown.entry()].state);
        default:
            return {};
    }
}

Qt::ItemFlags DirectoryModel::flags(const QModelIndex &index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
