#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QDateTime>
#include <QWidget>

#include "TaskRow.h"

class KestProject;
class ListViews;
class QAbstractItemView;
class QAction;
class QListView;
class QMenu;
class QTreeView;
class TaskListModel;

// The pane of the main window that lists the tasks of the selected folder
// and carries the commands on them: new task, open, run, stop, refresh,
// delete, properties, rename, cut, copy and paste, and the sort order. It
// follows the project session's signals: the folder selected, tasks added,
// changed and removed.
class TaskListFrame : public QWidget {
    Q_OBJECT

public:
    TaskListFrame(KestProject &project, QWidget *parent);

    TaskListModel &model() const { return *model_; }
    QTreeView &view() const { return *view_; }
    // The commands by their names (acNewTask, acRun, ...), for menus and tests.
    QAction *command(const QString &name) const;
    // The commands of the pane's menus, in menu order; null entries stand for separators.
    const QList<QAction *> &commands() const { return commands_; }
    QMenu *sortMenu() const { return sortMenu_; }
    QMenu *viewsMenu() const { return viewsMenu_; }
    // The style of the list: large icons, small icons, a list of names, or details (the columns).
    enum ViewStyle { LargeIcons, SmallIcons, NameList, Details };
    void setViewStyle(ViewStyle style);
    // The view that shows the rows now.
    QAbstractItemView &shownView() const;
    // The selected rows' tasks, in list order.
    std::vector<uint32_t> selectedTasks() const;
    // The task of the row that has the focus, when it is selected.
    std::optional<TaskRow> currentTask() const;
    QString statusText() const;

    // Selects the task's row alone; false when the list has none.
    bool selectTask(uint32_t task);
    void newTask();
    void runSelected();
    void stopSelected();
    void refreshSelected();
    void deleteSelected();
    void editProperties();
    // Selects the row above or below the current one alone and opens it.
    void moveBy(int rows);
    void rename();
    void importTasks();
    // Creates the tasks of an import file in the folder; false when the file cannot be read.
    bool importFile(const QString &path);
    void cut();
    void copy();
    void paste();

signals:
    void statusChanged(const QString &text);
    // The current task changed (nothing when no row is selected).
    void currentChanged(const std::optional<TaskRow> &task);
    // The New Task command created a task.
    void taskCreated();
    void openRequested(const QString &address, uint32_t task, const QDateTime &stamp, bool newWindow,
                       const QString &formData);
    // The List command: the task's Files List window.
    void itemsRequested(const TaskRow &task);
    // The Website Structure command asked for the task's window.
    void websiteStructureRequested(const TaskRow &task);

private:
    void buildCommands();
    QAction *addCommand(const QString &name, const QString &caption, const QString &hint, const QKeySequence &key = {});
    void fill(uint32_t folder);
    void selectionChanged();
    void updateCommands();
    void followClipboard();
    void putOnClipboard(const QString &kind);
    void open(bool newWindow);
    // Runs the engine call for each selected task, serving notifications between them.
    void forEachSelected(const std::function<void(uint32_t)> &call);
    void prepareClipboard();
    bool renameTask(uint32_t task, const QString &name);
    void renameSeveral(const std::vector<uint32_t> &tasks);
    // Copies the filter, depth and acceptable age of the task into the others.
    void copySettings(const TaskRow &from, const std::vector<uint32_t> &to);

    KestProject &project_;
    TaskListModel *model_;
    ListViews *styles_;
    QTreeView *view_;   // the details style
    QListView *icons_;  // the other styles, over the same rows and selection
    QMenu *viewsMenu_;
    QList<QAction *> commands_;
    QMenu *sortMenu_;
    std::optional<uint32_t> announcedCurrent_;
    // Whether the clipboard holds what a paste takes; asked when it changes, not at every row change.
    bool pasteable_ = false;
};
