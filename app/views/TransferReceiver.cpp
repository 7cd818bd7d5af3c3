#include "TransferReceiver.h"

#include <QApplication>
#include <QMessageBox>
#include <QMimeData>

#include "DroppedAddresses.h"
#include "KestProject.h"
#include "OfflineAddressText.h"
#include "TaskCreation.h"
#include "TaskTransferData.h"
#include "TransferText.h"
#include "dialogs/NewTaskDialog.h"

namespace {

void showError(QWidget *parent, const QString &text) {
    QMessageBox::critical(parent, QStringLiteral("Sitelark"), text);
}

int copyTasks(QWidget *parent, KestProject &project, const QStringList &keys, uint32_t folder) {
    int created = 0;
    for (const QString &key : keys) {
        std::optional<TaskRow> task = project.task(key.toUInt());
        if (!task) {
            showError(parent, QStringLiteral("Task not exists."));
            break;
        }
        task->id = 0;
        task->folder = folder;
        if (reportTaskResult(parent, project.createTask(*task))) ++created;
    }
    return created;
}

int moveTasks(KestProject &project, const QStringList &keys, uint32_t folder) {
    int moved = 0;
    for (const QString &key : keys) {
        project.moveTaskToFolder(key.toUInt(), folder);
        if (const auto task = project.task(key.toUInt()); task && task->folder == folder) ++moved;
    }
    return moved;
}

// Address and form-data lines in pairs; the last file's empty form data may
// be gone with the text's trailing empty lines.
int createItemTasks(QWidget *parent, KestProject &project, const QStringList &lines, uint32_t folder) {
    int created = 0;
    for (qsizetype k = 0; k < lines.size(); k += 2) {
        TaskRow task;
        task.url = lines[k];
        task.formData = lines.value(k + 1);
        task.acceptableAge = -1;
        task.folder = folder;
        if (reportTaskResult(parent, project.createTask(std::move(task)))) ++created;
    }
    return created;
}

int importArchives(QWidget *parent, KestProject &project, const transfer::Text &text, uint32_t folder) {
    if (transfer::sameProject(text.projectPath, project.fileName())) return 0;
    const TransferArchives archives{text.value(QStringLiteral("TaskArchName")),
                                    text.value(QStringLiteral("UrlResArchName")),
                                    text.value(QStringLiteral("ResArchName"))};
    const bool loaded = project.loadTransferArchives(archives.tasks, archives.resources, archives.bodies, folder);
    archives.remove();
    if (!loaded) showError(parent, QStringLiteral("Unrecognized format."));
    return loaded ? 1 : 0;
}

int moveFolder(QWidget *parent, KestProject &project, const transfer::Text &text, uint32_t folder) {
    const uint32_t moved = text.value(QStringLiteral("FOLDERID")).toUInt();
    if (moved == 0 || project.folderWithin(folder, moved)) return 0;
    if (!project.moveFolder(moved, folder)) showError(parent, QStringLiteral("Can't move the folder."));
    return 0;
}

int receivePrivate(QWidget *parent, KestProject &project, uint32_t folder, const QMimeData &data) {
    std::optional<transfer::Text> text = transfer::parse(data.data(transfer::kFormat));
    if (!text) return 0;
    const bool ownProject = transfer::sameProject(text->projectPath, project.fileName());
    const bool tasks = text->kind == transfer::kTaskCopy || text->kind == transfer::kTaskMove;
    if (tasks && !ownProject) {
        // Keys of another project mean nothing here: its program writes the tasks into archives.
        if (!data.hasFormat(transfer::kArchiveFormat)) return 0;
        text = transfer::parse(data.data(transfer::kArchiveFormat));
        if (!text) return 0;
    }
    if (text->kind == transfer::kTaskCopy) return copyTasks(parent, project, text->lines, folder);
    if (text->kind == transfer::kTaskMove) return moveTasks(project, text->lines, folder);
    if (text->kind == transfer::kItem) return createItemTasks(parent, project, text->lines, folder);
    if (text->kind == transfer::kExternalTaskCopy) return importArchives(parent, project, *text, folder);
    if (text->kind == transfer::kCutFolder) return moveFolder(parent, project, *text, folder);
    return 0;
}

}  // namespace

bool acceptableTransfer(const QMimeData &data) {
    return data.hasFormat(transfer::kFormat) || data.hasUrls() || data.hasText();
}

int receiveTransfer(QWidget *parent, KestProject &project, uint32_t folder, const QMimeData &data) {
    if (!project.active() || folder == 0) return 0;
    if (data.hasFormat(transfer::kFormat)) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const int received = receivePrivate(parent, project, folder, data);
        QApplication::restoreOverrideCursor();
        return received;
    }
    const QStringList addresses = droppedAddresses(data);
    if (addresses.size() == 1 && QApplication::keyboardModifiers().testFlag(Qt::ShiftModifier))
        return NewTaskDialog::create(parent, project, wrappedAddress(addresses.first()), 0, folder) > 0 ? 1 : 0;
    return createTasksForAddresses(parent, project, addresses, folder);
}
