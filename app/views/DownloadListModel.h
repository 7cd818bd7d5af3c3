#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include <QAbstractTableModel>
#include <QTimer>

#include "DownloadProgress.h"

// The downloads in flight as rows, one per URL resource being fetched, in
// the order they started. The engine reports every chunk of every download;
// take() only keeps the latest report of each, and the kept reports are
// applied together at most every 200 ms, so that a crawl at full speed
// costs the GUI thread a few row updates per interval, not one per chunk.
class DownloadListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Number, Url, Received, Size, Type, Elapsed, Percent, ColumnCount };
    static constexpr int kApplyInterval = 200;  // milliseconds

    explicit DownloadListModel(QObject *parent = nullptr);

    // Keeps the report until the next apply.
    void take(const DownloadProgress &progress);
    // Applies the kept reports now: a new download adds its row, a report
    // updates the row, a finished download (or one without a thread) removes it.
    void apply();
    // Forgets every row and kept report.
    void clear();
    // The time column moves on: called once a second while downloads run.
    void refreshElapsed();

    const DownloadProgress &download(int row) const { return rows_.at(size_t(row)); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    // A dragged row carries its address.
    QMimeData *mimeData(const QModelIndexList &indexes) const override;

private:
    int rowOf(uint32_t resource) const;
    void applyOne(const DownloadProgress &progress);
    void renumber(int from);
    QVariant text(const DownloadProgress &download, int row, int column) const;

    std::vector<DownloadProgress> rows_;
    std::map<uint32_t, DownloadProgress> kept_;  // the latest report per resource
    QTimer applyTimer_;
};
