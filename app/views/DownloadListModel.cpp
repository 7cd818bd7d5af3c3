#include "DownloadListModel.h"

#include <algorithm>
#include <utility>

#include <QDateTime>
#include <QMimeData>
#include <QUrl>

#include "views/ProgressTexts.h"
#include "views/StateIcons.h"
#include "views/TaskRow.h"

namespace {

const char *const kHeaders[] = {"N", "URL", "Bytes Received", "Size", "Type", "Time Elapsed", "%"};

bool ended(uint8_t state) { return state == ENG_DOWNLOAD_FINISHED || state == ENG_DOWNLOAD_NO_THREAD; }

}  // namespace

DownloadListModel::DownloadListModel(QObject *parent) : QAbstractTableModel(parent) {
    applyTimer_.setSingleShot(true);
    applyTimer_.setInterval(kApplyInterval);
    connect(&applyTimer_, &QTimer::timeout, this, &DownloadListModel::apply);
}

void DownloadListModel::take(const DownloadProgress &progress) {
    kept_[progress.resource] = progress;
    if (!applyTimer_.isActive()) applyTimer_.start();
}

void DownloadListModel::apply() {
    applyTimer_.stop();
    // Taken out first: a row change can reach code that takes new reports.
    const std::map<uint32_t, DownloadProgress> kept = std::exchange(kept_, {});
    for (const auto &entry : kept) applyOne(entry.second);
}

void DownloadListModel::applyOne(const DownloadProgress &progress) {
    const int row = rowOf(progress.resource);
    if (ended(progress.state)) {
        if (row < 0) return;
        beginRemoveRows({}, row, row);
        rows_.erase(rows_.begin() + row);
        endRemoveRows();
        renumber(row);
    } else if (row < 0) {
        const int last = rowCount();
        beginInsertRows({}, last, last);
        rows_.push_back(progress);
        endInsertRows();
    } else {
        rows_[size_t(row)] = progress;
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    }
}

void DownloadListModel::clear() {
    applyTimer_.stop();
    kept_.clear();
    if (rows_.empty()) return;
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void DownloadListModel::refreshElapsed() {
    if (!rows_.empty()) emit dataChanged(index(0, Elapsed), index(rowCount() - 1, Elapsed));
}

void DownloadListModel::renumber(int from) {
    if (from < rowCount()) emit dataChanged(index(from, Number), index(rowCount() - 1, Number));
}

int DownloadListModel::rowOf(uint32_t resource) const {
    const auto found = std::find_if(rows_.begin(), rows_.end(),
                                    [resource](const DownloadProgress &row) { return row.resource == resource; });
    return found == rows_.end() ? -1 : int(found - rows_.begin());
}

int DownloadListModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int DownloadListModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant DownloadListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const DownloadProgress &download = rows_[size_t(index.row())];
    if (role == Qt::DisplayRole) return text(download, index.row(), index.column());
    if (role == Qt::DecorationRole && index.column() == Url)
        return stateIcon(download.resumeOffset ? TaskRow::Stopped : TaskRow::Downloading);
    if (role == Qt::TextAlignmentRole && index.column() != Url && index.column() != Type)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant DownloadListModel::text(const DownloadProgress &download, int row, int column) const {
    switch (column) {
        case Number:
            return row + 1;
        case Url:
            return download.url;
        case Received:
            return receivedText(download);
        case Size:
            return sizeText(download);
        case Type:
            return download.contentType;
        case Elapsed:
            return download.started ? elapsedText(engineDate(download.started).secsTo(QDateTime::currentDateTime()))
                                    : elapsedText(0);
        case Percent:
            return percentText(download);
        default:
            return {};
    }
}

QVariant DownloadListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount) return {};
    return QString::fromLatin1(kHeaders[section]);
}

Qt::ItemFlags DownloadListModel::flags(const QModelIndex &index) const {
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.isValid() ? flags | Qt::ItemIsDragEnabled : flags;
}

QStringList DownloadListModel::mimeTypes() const {
    return {QStringLiteral("text/uri-list"), QStringLiteral("text/plain")};
}

QMimeData *DownloadListModel::mimeData(const QModelIndexList &indexes) const {
    if (indexes.isEmpty() || indexes.first().row() >= rowCount()) return nullptr;
    const QString address = rows_[size_t(indexes.first().row())].url;
    auto *data = new QMimeData;  // owned by the drag that asked for it
    data->setUrls({QUrl(address)});
    data->setText(address);
    return data;
}
