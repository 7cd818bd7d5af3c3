#pragma once

#include <map>
#include <memory>

#include <QDateTime>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include "KestProject.h"
#include "PageHost.h"
#include "ProgramOptions.h"
#include "ProgramSettings.h"

class BrowserForm;
class ItemWindow;
class DropBox;
class FolderTree;
class ListViews;
class ProgressFrame;
class SearchResultPage;
class StatFrame;
struct SearchCriteria;
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
    // A page fetched with form data is asked for with it, as it was posted.
    BrowserForm *openBrowser(const QString &address, uint32_t number, const QDateTime &stamp, bool newWindow,
                             const QString &formData = {});
    // Opens a help topic (a path such as "/source/start.html") in a browser window of its own.
    void showHelp(const QString &topic);
    void openFile(const QString &path);
    QStringList recentProjects() const { return recent_; }

    // The Options dialog on a page (OptionsDialog::Page); what it stores is
    // applied to the open project.
    void showOptions(int page);
    // The open project's properties on a page (ProjectPropertiesDialog::Page).
    void showProjectProperties(int page);

signals:
    // The lists' view style (large icons, small icons, list, details: 0-3) was chosen.
    void viewStyleChanged(int style);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildCommands();
    // The commands of the options and the project properties, and the
    // requests to open them that come from the program's own pages.
    void buildOptionCommands(QMenu *projectMenu, QMenu *view);
    // Going online while the ping hosts are not answering says so.
    void warnPingOffline(bool running);
    void buildAddressBar();
    void buildTaskCommands();
    // The Website Structure windows of tasks: one per task, docked as pages.
    void buildWebsiteStructureCommand();
    void showWebsiteStructure(const TaskRow &task);
    // Exports, the favourites import and the report pages.
    void buildExportCommands();
    // One of the program's own pages ("qzinfo:"), alone in a new browser window:
    // not wrapped as an offline address, without address and status bars.
    void showReport(const QUrl &page);
    // The progress and statistics panes, docked below the pages.
    void buildPanes();
    // The page commands: closing and undocking pages, the tabs' side, the
    // submenus of open windows, the toolbars' labels.
    void buildPageCommands();
    // Toolbar buttons with their captions under the pictures, or the pictures alone.
    void showToolBarLabels();
    // The view style commands: each list of the program follows the chosen one.
    void buildViewStyleCommands(QMenu *view);
    // The Browse button's drop-down: the open browsers, and "Launch Browser".
    void buildBrowserDropDown(QAction *browse);
    void setViewStyle(int style);
    // The list's style from now on follows the chosen one.
    void followViewStyle(ListViews &views);
    // The search commands: the search dialog, and the lists of all errors, all queued and all retrieved files.
    void buildSearchCommands();
    // A new page of search results for the criteria, searched at once.
    SearchResultPage *openSearchPage(const SearchCriteria &criteria);
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
    QPointer<BrowserForm> defaultBrowser_;  // gone with its window
    QDateTime quitTime_;

    QTabWidget *pages_;
    PageHost *pageHost_ = nullptr;
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
    QList<QAction *> viewStyles_;
    std::unique_ptr<DropBox> dropBox_;  // a window of its own

    // The Files List windows of tasks: at most one per task, docked as pages.
public:
    // Shows the task's Files List window, opening it when it is not open.
    ItemWindow *showItems(const TaskRow &task);
    // The task's open Files List window; null when none is open.
    ItemWindow *itemWindow(uint32_t task) const;

private:
    void buildItemWindows();
    // The item lists of the window open their files in browsers and follow the view style.
    void followItemLists(QWidget &window);
    // Takes the window as a page of its kind, and shows it.
    void hostWindow(QWidget *window, PageHost::Kind kind);
    std::map<uint32_t, QPointer<ItemWindow>> itemWindows_;
};
