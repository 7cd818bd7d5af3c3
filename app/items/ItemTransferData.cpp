#include "ItemTransferData.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QMessageBox>

#include "KestProject.h"
#include "TemporaryFolders.h"
#include "exports/ItemExport.h"
#include "exports/ItemFileName.h"
#include "views/TransferText.h"

namespace {

const QString kUriList = QStringLiteral("text/uri-list");

// A file that is not a page is written as it was stored.
constexpr uint32_t kAsStored = ENG_EXPORT_HTML_EXTENSION;

}  // namespace

ItemTransferData::ItemTransferData(KestProject &project, QWidget *view, std::vector<ItemRow> rows)
    : project_(project), view_(view), rows_(std::move(rows)) {
    transfer::Text text{transfer::kItem, project.fileName(), {}};
    for (const ItemRow &row : rows_) text.lines << row.address << row.formData;
    itemText_ = transfer::compose(text);
}

QStringList ItemTransferData::formats() const { return {transfer::kFormat, kUriList}; }

bool ItemTransferData::hasFormat(const QString &format) const { return formats().contains(format); }

QVariant ItemTransferData::retrieveData(const QString &format, QMetaType) const {
    if (format == transfer::kFormat) return itemText_;
    // Only another program gets the files: a window of this one under the
    // pointer (the embedded browser asks as soon as a drag enters it) gets none.
    if (format != kUriList || QApplication::widgetAt(QCursor::pos())) return {};
    if (!exported_) exported_ = exportFiles();
    return QVariant::fromValue(QList<QVariant>(exported_->begin(), exported_->end()));
}

QList<QUrl> ItemTransferData::exportFiles() const {
    if (!project_.active() || rows_.empty()) return {};
    QDir folder(itemExportFolder());
    folder.removeRecursively();
    QDir().mkpath(folder.path());
    const ItemRow &first = rows_.front();
    if (rows_.size() == 1 && first.type != ItemRow::Html) {
        project_.exportResource(folder.filePath(itemFileName(first)), first.resource, kAsStored, 0);
    } else if (saveItemsAs(view_, project_, rows_, folder.path()) == 0) {
        QMessageBox::information(view_, QStringLiteral("Sitelark"), QStringLiteral("0 object(s) exported."));
    }
    QList<QUrl> files;
    for (const QString &name : folder.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        files << QUrl::fromLocalFile(folder.filePath(name));
    return files;
}
