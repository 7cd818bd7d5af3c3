#include "ItemExport.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

#include "ExportItemDialog.h"
#include "ExportProgressDialog.h"
#include "ItemFileName.h"
#include "KestProject.h"
#include "views/TaskRow.h"

namespace {

bool exportable(const ItemRow &row) {
    return row.hasResource() && (row.state == TaskRow::Ok || row.state == TaskRow::Failed) && row.size > 0;
}

}  // namespace

QString itemFileName(const ItemRow &row) {
    return itemFileName(row.address, row.contentType, row.type == ItemRow::Html);
}

int saveItemsAs(QWidget *parent, KestProject &project, const std::vector<ItemRow> &rows, const QString &folder) {
    if (rows.empty()) return 0;
    const bool single = rows.size() == 1;
    ExportItemDialog parameters(single ? itemFileName(rows.front()) : QString(),
                                single && rows.front().type == ItemRow::Html, parent);
    if (!folder.isEmpty()) {
        parameters.hideDestination();
        parameters.setDestination(single ? QDir(folder).filePath(itemFileName(rows.front()))
                                         : ExportParamDialog::asFolder(folder));
    }
    if (parameters.exec() != QDialog::Accepted) return 0;
    const QString destination = parameters.destination();
    QDir().mkpath(single ? QFileInfo(destination).absolutePath() : destination);

    ExportProgressDialog progress(project, QStringLiteral("Export"), parent);
    progress.showTotal(static_cast<int>(rows.size()));
    int exported = 0;
    progress.run([&] {
        for (size_t k = 0; k < rows.size() && !progress.cancelled(); ++k) {
            const ItemRow &row = rows[k];
            progress.setName(row.address);
            progress.setTotalPosition(static_cast<int>(k));
            if (!exportable(row)) continue;
            const QString target = freePath(single ? destination : QDir(destination).filePath(itemFileName(row)));
            if (project.exportResource(target, row.resource, parameters.options(), parameters.nameLength())) ++exported;
        }
    });
    const int failed = static_cast<int>(rows.size()) - exported;
    if (failed > 0)
        QMessageBox::information(
            parent, QStringLiteral("Sitelark"),
            QStringLiteral("%1 of %2 file(s) were not exported due to an error.").arg(failed).arg(rows.size()));
    return exported;
}
