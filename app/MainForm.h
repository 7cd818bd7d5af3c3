#pragma once

#include <memory>

#include <QDateTime>
#include <QMainWindow>
#include <QStringList>

#include "KestProject.h"
#include "ProgramOptions.h"
#include "ProgramSettings.h"

class BrowserForm;
class DropBox;
class FolderTree;
class ProgressFrame;
class StatFrame;
class TaskListFrame;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QSpinBox;
class QTabWidget;
class QTimer;
class QToolBar;

// The main window: the project session, the program-wide commands, the
// address bar, the pages (the project page first, browsers after it) and
// the status bar.
class MainForm : public QMainWindow {
    Q_OBJECT

public:
    explicit MainForm(const QStringList &arguments);
    ~MainForm() override;

    KestProject &project() { return project_; }
    ProgramOptions &options() { return options_; }
    DropBox &dropBox() { return *dropBox_; }
    TaskListFrame &taskList() { return *taskList_; }
    FolderTree &folderTree() { return *folderTree_; }
    ProgressFrame &progressFrame() { return *progressFrame_; }
    StatFrame &statFrame() { return *statFrame_; }
    // Decides what to open (first start, the command line, the last
    // project), then applies the command-line switches. Run once shown.
    void start();

    // Opens a browser page: the default browser unless a new one is asked for.
    BrowserForm *openBrowser(const QString &address, uint32_t number, const QDateTime &stamp, bool newWindow);
    // Opens a help topic (a path such as "/source/start.html") in a browser window of its own.
    void showHelp(const QString &topic);
    void openFile(const QString &path);
    QStringList recentProjects() const { return recent_; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildCommands();
    void buildAddressBar();
    void buildTaskCommands();
    // Exports, the favourites import and the report pages.
    void buildExportCommands();
    // The progress and statistics panes, docked below the pages.
    void buildPanes();
    void updateCommands();
    void refreshCaption();
    void rebuildReopenMenu();
    void addRecent(const QString &path);

    void newProject();
    void openProject();
    void clearProject();
    // Replaces the file with an empty project and opens it.
    void openEmptyProject(const QString &path);
    void compactDatabase();
    void repairDatabase();
    // Asks for a project file and runs the engine's tool on it, saying how it went.
    void runDatabaseTool(const QString &title, int32_t (*tool)(const char *), const QString &failure);
    void toggleOnline();
    void refreshProjectCommand();
    void getAddress();
    void changeDepth();
    void followCurrentTask(const std::optional<TaskRow> &task);
    // The address bar's command: "Change" for the current task's address at another depth, else "Get".
    void updateGet();
    void chooseProject();
    void applySwitches();

    // A browser window, docked as a page or free; it becomes the default
    // browser when there is none.
    BrowserForm *createBrowser(bool docked);
    void setDocked(BrowserForm *browser, bool docked);
    void showBrowser(BrowserForm *browser);
    void showCaption(BrowserForm *browser);
    void makeDefaultBrowser(BrowserForm *browser);

    void afterOpen();
    void beforeClose();
    void followRunning(bool running);
    // Once a project has opened: offers to go online when work is left, else points at the command.
    void offerToGoOnline(const StatProgress &statistics);
    void promptIncomplete();
    // Offline, a new task offers to go online (unless the user opted out).
    void promptOffline();
    // Asks the question while offline and the option is set: Yes goes online, the box clears the option.
    void askToGoOnline(const QString &question, bool &option);
    void hintGoOnline();
    void quitTick();
    void checkDiskSpace();
    void showStatistics();

    ProgramSettings settings_;
    ProgramOptions options_;
    KestProject project_;
    QStringList arguments_;
    QStringList recent_;
    BrowserForm *defaultBrowser_ = nullptr;
    QDateTime quitTime_;

    QTabWidget *pages_;
    TaskListFrame *taskList_;
    FolderTree *folderTree_;
    ProgressFrame *progressFrame_;
    StatFrame *statFrame_;
    QLabel *statusState_;
    QLabel *statusCounts_;
    QLabel *statusTasks_;
    QToolBar *mainBar_;
    QToolBar *addressBar_;
    QLineEdit *address_;
    QSpinBox *depth_;
    QAction *get_;
    std::optional<TaskRow> currentTask_;
    QMenu *reopenMenu_;
    QMenu *viewMenu_;
    QAction *online_;
    QTimer *quitTimer_;
    QTimer *diskTimer_;
    QList<QAction *> projectCommands_;
    std::unique_ptr<DropBox> dropBox_;  // a window of its own
};
