// Another running program for the transfer tests: it opens the project
// given, puts every task of its root folder on the clipboard as the task
// list's Copy does, says "ready" on its standard output, and serves the
// clipboard until it is stopped.
//
// Usage: gui_transfer_source PROJECT.slk
#include <cstdio>

#include <QApplication>
#include <QClipboard>

#include "GuiTestProgram.h"
#include "KestProject.h"
#include "TaskCreation.h"
#include "views/TaskTransferData.h"
#include "views/TransferText.h"

int main(int argc, char **argv) {
    GuiTestProgram program(argc, argv);
    if (!program.ready() || argc != 2) return 1;
    KestProject project;
    project.setFileName(QString::fromLocal8Bit(argv[1]));
    project.setActive(true);
    if (!project.active()) return 1;
    std::vector<uint32_t> tasks;
    for (const TaskRow &task : project.folderTasks(kRootFolder)) tasks.push_back(task.id);
    QApplication::clipboard()->setMimeData(new TaskTransferData(project, transfer::kTaskCopy, tasks));
    std::printf("ready\n");
    std::fflush(stdout);
    return QApplication::exec();
}
