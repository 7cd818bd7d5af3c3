#include "TaskCreation.h"

#include <QMessageBox>
#include <QStringList>
#include <cstring>

#include "EngineLibrary.h"
#include "KestProject.h"

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
        void *addr = nullptr;
        uint32_t len = 0;
        engine().Eng_GetFolder(folder, &addr, &len);
        if (len < sizeof(EngFolderRecord)) break;
        EngFolderRecord record;
        std::memcpy(&record, addr, sizeof record);
        names.prepend(QString::fromUtf8(record.name));
        engine().Eng_FreeMem(record.name);
        engine().Eng_FreeMem(addr);
        folder = record.parent;
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
