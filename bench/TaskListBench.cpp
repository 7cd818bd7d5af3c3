// The task list with many tasks: the time from opening a project of 10,000
// tasks to its list shown and painted, and the time per scroll step of the
// list (a page down, painted), over 200 steps: mean and worst. Prints the
// figures in milliseconds.
//
// Usage: tasklist_bench WORK_FOLDER   (bench/tasklist.sh runs it)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QTreeView>

#include "KestProject.h"
#include "ListTimings.h"
#include "MainForm.h"
#include "ProjectTemplate.h"
#include "Startup.h"
#include "TaskCreation.h"
#include "views/TaskListFrame.h"
#include "views/TaskListModel.h"

namespace {

using list_timings::Clock;
using list_timings::millisecondsSince;
using list_timings::paint;
constexpr int kTasks = 10000;
constexpr int kScrollSteps = 200;

// A project of kTasks tasks, each its own address.
void makeProject(const QString &path) {
    eng::writeNewProject(path.toStdString());
    KestProject project;
    project.setFileName(path);
    project.setActive(true);
    for (int k = 0; k < kTasks; ++k)
        project.createTask(QStringLiteral("http://site%1.example/page%2.html").arg(k % 97).arg(k), 0, kRootFolder,
                           QStringLiteral("Task %1").arg(k));
    project.setActive(false);
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tasklist_bench WORK_FOLDER\n");
        return 2;
    }
    prepareStartup();
    QApplication application(argc, argv);
    if (!finishStartup()) return 1;
    const QString path = QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("tasks.slk"));
    const Clock::time_point making = Clock::now();
    makeProject(path);
    std::printf("project of %d tasks made in %.0f ms\n", kTasks, millisecondsSince(making));

    MainForm form(application.arguments());
    list_timings::showQuietly(form);
    QTreeView &view = form.taskList().view();
    const Clock::time_point opening = Clock::now();
    form.openFile(path);
    paint(view);
    const double shown = millisecondsSince(opening);
    if (form.taskList().model().rowCount() != kTasks) {
        std::fprintf(stderr, "tasklist_bench: the list shows %d tasks\n", form.taskList().model().rowCount());
        return 1;
    }
    std::printf("open and show the list: %.0f ms\n", shown);
    // The folder read again: the list's own part, without opening the project.
    const Clock::time_point refilling = Clock::now();
    form.project().selectFolder(kRootFolder);
    paint(view);
    std::printf("read the folder again and show it: %.0f ms\n", millisecondsSince(refilling));
    const Clock::time_point reading = Clock::now();
    const size_t read = form.project().folderTasks(kRootFolder).size();
    std::printf("of which the engine's records of %zu tasks: %.0f ms\n", read, millisecondsSince(reading));

    list_timings::printScrollSteps(view, kScrollSteps);
    const Clock::time_point sorting = Clock::now();
    form.taskList().model().sortBy(TaskListModel::Url);
    view.viewport()->repaint();
    std::printf("sort by address: %.0f ms\n", millisecondsSince(sorting));
    form.close();
    return 0;
}
