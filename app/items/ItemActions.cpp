#include "ItemActions.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QUrl>

#include "EngineBuffer.h"
#include "EngineLibrary.h"
#include "KestProject.h"
#include "NotificationWindow.h"
#include "TaskCreation.h"
#include "exports/ItemExport.h"

namespace item_actions {

namespace {

const QString kCaption = QStringLiteral("Sitelark");

// Runs the call for each row under the busy cursor, serving the engine's
// notifications after each; the number of rows it failed.
template <class Call>
int countFailures(const std::vector<ItemRow> &rows, Call call) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    int failed = 0;
    for (const ItemRow &row : rows) {
        if (!call(row)) ++failed;
        NotificationWindow::pump();
    }
    QApplication::restoreOverrideCursor();
    return failed;
}

}  // namespace

void refresh(QWidget *parent, const std::vector<ItemRow> &rows) {
    const int failed = countFailures(
        rows, [](const ItemRow &row) { return row.retrieved() && engine().Eng_RefreshUrlRes(row.resource) > 0; });
    if (failed > 0)
        QMessageBox::information(parent, kCaption,
                                 QStringLiteral("%1 of %2 file(s) were not refreshed.").arg(failed).arg(rows.size()));
}

void createTasks(QWidget *parent, KestProject &project, const std::vector<ItemRow> &rows, uint32_t folder) {
    if (rows.empty() || folder == 0) return;
    if (!confirmed(parent,
                   QStringLiteral("Do you want create %1 task(s)\r\nin: %2").arg(rows.size()).arg(folderPath(folder))))
        return;
    const int failed = countFailures(rows, [&](const ItemRow &row) {
        TaskRow task;
        task.url = row.address;
        task.formData = row.formData;
        task.depth = 0;
        task.acceptableAge = -1;
        task.folder = folder;
        task.followRedirects = true;
        return project.createTask(std::move(task)) > 0;
    });
    if (failed > 0)
        QMessageBox::critical(parent, kCaption,
                              QString::number(failed) + QStringLiteral(" task(s) where not created."));
}

void remove(QWidget *parent, const std::vector<ItemRow> &rows) {
    if (rows.empty()) return;
    if (!confirmed(parent, QStringLiteral("Are you sure you want to delete these %1 item(s)?").arg(rows.size())))
        return;
    const int failed = countFailures(
        rows, [](const ItemRow &row) { return row.hasResource() && engine().Eng_DeleteUrlRes(row.resource) > 0; });
    if (failed > 0)
        QMessageBox::information(parent, kCaption,
                                 QStringLiteral("%1 file(s) were not deleted. You are trying to delete the main file "
                                                "of a task. Operation not allowed.")
                                     .arg(failed));
}

QString writeSource(const ItemRow &row) {
    if (!row.hasResource()) return {};
    const eng::client::EngineBuffer source =
        eng::client::receive(engine().Eng_FreeMem, engine().Eng_GetSource, row.resource);
    // The text follows its 4-byte length.
    constexpr size_t kLengthBytes = 4;
    const std::span<const std::byte> bytes = source.bytes();
    if (bytes.size() < kLengthBytes) return {};
    const QDir temporary(QDir::tempPath());
    if (!temporary.mkpath(QStringLiteral("LarkTMP"))) return {};
    const QString path = temporary.filePath(QStringLiteral("LarkTMP/") + itemFileName(row) + QStringLiteral(".txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
    const auto text = bytes.subspan(kLengthBytes);
    if (file.write(reinterpret_cast<const char *>(text.data()), static_cast<qint64>(text.size())) !=
        static_cast<qint64>(text.size()))
        return {};
    return path;
}

void viewSource(QWidget *parent, const ItemRow &row) {
    const QString path = writeSource(row);
    if (path.isEmpty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        QMessageBox::critical(parent, kCaption, QStringLiteral("Can't show the source of ") + row.address);
}

}  // namespace item_actions
