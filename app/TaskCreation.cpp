#include "TaskCreation.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>

#include "AddressNormalisation.h"
#include "EngineLibrary.h"
#include "KestProject.h"
#include "NotificationWindow.h"
#include "OfflineAddressText.h"
#include "RecordBuffer.h"

bool confirmed(QWidget *parent, const QString &question) {
    return QMessageBox::question(parent, QStringLiteral("Sitelark"), question, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

bool reportTaskResult(QWidget *parent, int result) {
    if (result > 0) return true;
    QMessageBox::critical(
        parent, QStringLiteral("Sitelark"),
        result == -5 ? QStringLiteral("Invalid starting URL.") : QStringLiteral("Couldn't create task."));
    return false;
}

QString folderPath(uint32_t folder) {
    QStringList names;
    // A folder tree is shallow; the bound keeps a damaged one from looping.
    for (int depth = 0; folder != 0 && depth < 256; ++depth) {
        const auto found =
            eng::client::receiveRecords<EngFolderRecord>(engine().Eng_FreeMem, engine().Eng_GetFolder, folder);
        const auto record = found.first();
        if (!record) break;
        names.prepend(QString::fromUtf8(record->name));
        folder = record->parent;
    }
    return names.join(u'\\');
}

void askAndCreateTask(QWidget *parent, KestProject &project, const QString &address, uint32_t folder) {
    const QString question =
        project.findTasks(address)
            ? address + QStringLiteral("\r\nTask with this URL already exists. Do you want to create it anyway?")
            : QStringLiteral("Do you want create task for:\r\n") + address + QStringLiteral("\r\nin: ") +
                  folderPath(folder);
    const auto answer = QMessageBox::question(parent, QStringLiteral("Sitelark"), question,
                                              QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer == QMessageBox::Ok) reportTaskResult(parent, project.createTask(address, 1, folder));
}

void enqueueLinks(QWidget *parent, KestProject &project, const QStringList &links) {
    if (links.isEmpty() || !confirmed(parent, QStringLiteral("Do you want enqueue %1 resource(s).").arg(links.size())))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (const QString &link : links) {
        project.createUrlRes(link, QString(), offlineNumber(link));
        NotificationWindow::pump();
    }
    QApplication::restoreOverrideCursor();
}

void createTasksForLinks(QWidget *parent, KestProject &project, const QStringList &links) {
    if (links.isEmpty() || !confirmed(parent, QStringLiteral("Do you want create %1 task(s).").arg(links.size())))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qsizetype created = 0;
    for (const QString &link : links) {
        const QString address = wrappedAddress(link);
        if (!project.findTasks(address) && project.createTask(address, 1, kRootFolder) > 0) ++created;
        NotificationWindow::pump();
    }
    QApplication::restoreOverrideCursor();
    if (created < links.size())
        QMessageBox::information(parent, QStringLiteral("Sitelark"),
                                 QStringLiteral("%1 tasks were not created because they already exist or URLs are not "
                                                "valid.")
                                     .arg(links.size() - created));
}

int createTasksForAddresses(QWidget *parent, KestProject &project, const QStringList &addresses, uint32_t folder) {
    if (addresses.size() == 1 && normalisedAddress(wrappedAddress(addresses.first())).isEmpty()) {
        QMessageBox::critical(parent, QStringLiteral("Sitelark"),
                              QStringLiteral("The URL ") + addresses.first() + QStringLiteral(" is not valid."));
        return 0;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    int created = 0;
    for (const QString &address : addresses)
        if (reportTaskResult(parent, project.createTask(wrappedAddress(address), 0, folder))) ++created;
    QApplication::restoreOverrideCursor();
    return created;
}
