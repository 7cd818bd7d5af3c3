#include "MainForm.h"

#include <stdexcept>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QStorageInfo>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QUuid>

#include "AddressNormalisation.h"
#include "BrowserForm.h"
#include "BrowserProfile.h"
#include "DropBox.h"
#include "EngineLibrary.h"
#include "FileAssociation.h"
#include "OpenProjectChooser.h"
#include "PageHost.h"
#include "ProjectTemplate.h"
#include "TabAddressDrag.h"
#include "TabStripDropTarget.h"
#include "TaskCreation.h"
#include "TemporaryFolders.h"
#include "dialogs/TaskFilterOptionsDialog.h"
#include "exports/FavoritesImport.h"
#include "exports/ProjectExport.h"
#include "exports/TaskExport.h"
#include "items/ItemListFrame.h"
#include "items/ItemWindow.h"
#include "items/WebsiteStructureWindow.h"
#include "options/OptionsApplication.h"
#include "options/OptionsDialog.h"
#include "options/OptionsRequests.h"
#include "options/OptionsStorage.h"
#include "options/ProjectPropertiesDialog.h"
#include "searches/SearchDialog.h"
#include "searches/SearchResultPage.h"
#include "views/FolderTree.h"
#include "views/ListViews.h"
#include "views/ProgressFrame.h"
#include "views/StatFrame.h"
#include "views/TaskListFrame.h"

namespace {

const QString kProjectFilter = QStringLiteral("Project file (*.slk)");
const QString kHelpContents = QStringLiteral("/source/start.html");

QString refreshQuestion(int files) {
    return QString::number(files) + QStringLiteral(
                                        " files could not be retrieved because of temporary Internet "
                                        "connection errors.\r\nDo you want these files to be queued for "
                                        "next download?");
}

// Asks a yes-or-no question with a "Do not show at next time" box; the
// answer, and whether the box was ticked.
std::pair<bool, bool> askWithOptOut(QWidget *parent, const QString &text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Information"), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    auto *optOut = new QCheckBox(QStringLiteral("Do not show at next time"), &box);
    box.setCheckBox(optOut);
    const bool yes = box.exec() == QMessageBox::Yes;
    return {yes, optOut->isChecked()};
}

// Gives a toolbar command a picture of the style's own.
void setPicture(QAction *command, QStyle::StandardPixmap picture) {
    command->setIcon(QApplication::style()->standardIcon(picture));
}

}  // namespace

MainForm::MainForm(const QStringList &arguments)
    : options_(loadProgramOptions(settings_)),
      arguments_(arguments),
      pages_(new QTabWidget(this)),
      taskList_(new TaskListFrame(project_, this)),
      folderTree_(new FolderTree(project_, this)),
      progressFrame_(new ProgressFrame(project_, this)),
      statFrame_(new StatFrame(project_, this)),
      statusState_(new QLabel(this)),
      statusCounts_(new QLabel(this)),
      statusTasks_(new QLabel(this)),
      quitTimer_(new QTimer(this)),
      diskTimer_(new QTimer(this)),
      dropBox_(std::make_unique<DropBox>(project_, settings_, this)) {
    setWindowTitle(QStringLiteral("Sitelark"));
    buildCommands();
    buildAddressBar();
    buildTaskCommands();
    buildWebsiteStructureCommand();
    buildPanes();
    buildItemWindows();
    buildSearchCommands();
    buildExportCommands();
    pages_->addTab(taskList_, QStringLiteral("Tasks"));
    buildPageCommands();
    pages_->setTabsClosable(true);
    pages_->tabBar()->setTabButton(0, QTabBar::RightSide, nullptr);
    connect(pages_, &QTabWidget::tabCloseRequested, this, [this](int index) {
        if (index > 0) pages_->widget(index)->close();
    });
    connect(pages_, &QTabWidget::currentChanged, this, &MainForm::updateCommands);
    new TabStripDropTarget(pages_->tabBar(), project_);  // owned by the tab strip
    new TabAddressDrag(pages_);                          // owned by the pages
    setCentralWidget(pages_);
    statusBar()->addWidget(statusState_);
    statusBar()->addWidget(statusTasks_);
    statusBar()->addWidget(statusCounts_, 1);

    project_.setDefaultAcceptableAge(settings_.text(QStringLiteral("DefaultAcceptableAge")).value_or("360").toInt());
    project_.setDefaultUserAgent(
        QStringLiteral("Mozilla/4.0 (compatible; MSIE 5.5 ; Windows 98 "
                       "<a href=\"https://sitelark.example/bot.html\">Sitelark offline browser</a> )"));
    associateProjectFiles();
    if (!settings_.text(QStringLiteral("Install_Id")))
        settings_.setText(QStringLiteral("Install_Id"), QUuid::createUuid().toString(QUuid::WithBraces).toUpper());
    for (const QString &path : settings_.list(QStringLiteral("DocumentList")))
        if (QFileInfo::exists(path)) recent_ << path;
    rebuildReopenMenu();
    const QRect placement(settings_.number(QStringLiteral("Left")).value_or(80),
                          settings_.number(QStringLiteral("Top")).value_or(60),
                          settings_.number(QStringLiteral("Width")).value_or(1000),
                          settings_.number(QStringLiteral("Height")).value_or(700));
    setGeometry(placement);

    connect(&project_, &KestProject::afterOpen, this, &MainForm::afterOpen);
    connect(&project_, &KestProject::beforeClose, this, &MainForm::beforeClose);
    connect(&project_, &KestProject::afterClose, this, &MainForm::refreshCaption);
    connect(&project_, &KestProject::runningChanged, this, &MainForm::followRunning);
    connect(&project_, &KestProject::statisticsChanged, this, &MainForm::showStatistics);
    // Queued: the question is a dialog of its own, not to be shown inside the engine's report.
    connect(&project_, &KestProject::firstStatistics, this, &MainForm::offerToGoOnline, Qt::QueuedConnection);

    connect(dropBox_.get(), &DropBox::helpRequested, this, [this] { showHelp(kHelpContents); });
    connect(dropBox_.get(), &DropBox::browserRequested, this, [this] {
        if (options_.openBrowserInTabs) showNormal(), raise();
        openBrowser(QString(), 0, QDateTime::currentDateTime(), true);
    });
    if (settings_.number(QStringLiteral("Visible")).value_or(0)) dropBox_->show();
    connect(quitTimer_, &QTimer::timeout, this, &MainForm::quitTick);
    quitTimer_->start(1000);
    connect(diskTimer_, &QTimer::timeout, this, &MainForm::checkDiskSpace);
    diskTimer_->setInterval(30000);
    showToolBarLabels();
    refreshCaption();
    updateCommands();
}

MainForm::~MainForm() {
    removeTemporaryFolders();
    project_.setActive(false);
    saveProgramOptions(settings_, options_);
    settings_.setNumber(QStringLiteral("FirstStart"), 0);
}

void MainForm::buildCommands() {
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction *newProject = file->addAction(QStringLiteral("New"), this, &MainForm::newProject);
    newProject->setToolTip(QStringLiteral("Create New Project"));
    QAction *open = file->addAction(QStringLiteral("Open"), this, &MainForm::openProject);
    open->setToolTip(QStringLiteral("Open Project"));
    reopenMenu_ = file->addMenu(QStringLiteral("Reopen"));
    QAction *close = file->addAction(QStringLiteral("Close"), this, [this] { project_.setActive(false); });
    close->setToolTip(QStringLiteral("Close project"));
    QAction *clear = file->addAction(QStringLiteral("Clear"), this, &MainForm::clearProject);
    clear->setToolTip(QStringLiteral("Clear project"));
    file->addSeparator();
    file->addAction(QStringLiteral("Compact Database"), this, &MainForm::compactDatabase);
    file->addAction(QStringLiteral("Repair Database"), this, &MainForm::repairDatabase);
    file->addSeparator();
    file->addAction(QStringLiteral("Exit"), this, &QWidget::close);

    QMenu *projectMenu = menuBar()->addMenu(QStringLiteral("&Project"));
    online_ = projectMenu->addAction(QStringLiteral("Go Online"), this, &MainForm::toggleOnline);
    online_->setObjectName(QStringLiteral("acOnline"));
    QAction *refresh =
        projectMenu->addAction(QStringLiteral("Refresh Project"), this, &MainForm::refreshProjectCommand);
    QAction *browse = projectMenu->addAction(QStringLiteral("Browse"), this,
                                             [this] { openBrowser(QString(), 0, QDateTime::currentDateTime(), true); });
    browse->setObjectName(QStringLiteral("acShowBrowser"));
    browse->setToolTip(QStringLiteral("Launch Built-In Browser"));
    projectCommands_ = {close, clear, online_, refresh, browse};

    QMenu *view = viewMenu_ = menuBar()->addMenu(QStringLiteral("&View"));
    buildOptionCommands(projectMenu, view);
    mainBar_ = addToolBar(QStringLiteral("Main"));
    mainBar_->addActions({newProject, open, online_, browse});
    setPicture(newProject, QStyle::SP_FileIcon);
    setPicture(open, QStyle::SP_DialogOpenButton);
    setPicture(online_, QStyle::SP_DriveNetIcon);
    setPicture(browse, QStyle::SP_ComputerIcon);
    buildBrowserDropDown(browse);
    view->addAction(mainBar_->toggleViewAction());
    QAction *dropBox =
        view->addAction(QStringLiteral("Drop Box"), this, [this] { dropBox_->setVisible(!dropBox_->isVisible()); });
    dropBox->setToolTip(QStringLiteral("Show/Hide Drop Box"));
    addressBar_ = new QToolBar(QStringLiteral("Address Bar"), this);
    view->addAction(addressBar_->toggleViewAction());

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    QAction *contents =
        help->addAction(QStringLiteral("Contents and Index"), this, [this] { showHelp(kHelpContents); });
    contents->setShortcut(QKeySequence::HelpContents);
}

void MainForm::buildOptionCommands(QMenu *projectMenu, QMenu *view) {
    QAction *properties = projectMenu->addAction(QStringLiteral("Properties"), this,
                                                 [this] { showProjectProperties(ProjectPropertiesDialog::General); });
    properties->setObjectName(QStringLiteral("acProjectProperties"));
    properties->setToolTip(QStringLiteral("Project properties"));
    projectCommands_ << properties;
    QAction *options =
        view->addAction(QStringLiteral("Show Options"), this, [this] { showOptions(OptionsDialog::General); });
    options->setObjectName(QStringLiteral("acShowOptions"));
    options->setToolTip(QStringLiteral("Options"));
    connect(&OptionsRequests::instance(), &OptionsRequests::optionsRequested, this, &MainForm::showOptions);
    connect(&OptionsRequests::instance(), &OptionsRequests::projectPropertiesRequested, this,
            &MainForm::showProjectProperties);
    connect(&project_, &KestProject::runningChanged, this, &MainForm::warnPingOffline);
    // The limits set in the progress pane are the options' from then on.
    connect(progressFrame_, &ProgressFrame::limitsWritten, this, [this](int connections, int perServer) {
        options_.maxConnections = connections;
        options_.maxConnPerServ = perServer;
    });
}

void MainForm::showOptions(int page) {
    OptionsDialog dialog(options_, project_, static_cast<OptionsDialog::Page>(page), this);
    connect(&dialog, &OptionsDialog::helpRequested, this, [this] { showHelp(kHelpContents); });
    dialog.exec();
    // Kept at once, so that a program that ends abruptly still has them.
    saveProgramOptions(settings_, options_);
    setViewStyle(options_.viewStyle);
    findChild<QAction *>(QStringLiteral("acShowToolBarCaptions"))->setChecked(options_.showToolBarLabels);
    showToolBarLabels();
}

void MainForm::showProjectProperties(int page) {
    if (!project_.active()) return;
    ProjectPropertiesDialog dialog(project_, static_cast<ProjectPropertiesDialog::Page>(page), this);
    connect(&dialog, &ProjectPropertiesDialog::helpRequested, this, [this] { showHelp(kHelpContents); });
    dialog.exec();
}

void MainForm::warnPingOffline(bool running) {
    if (running && project_.pingState() != 1 && !project_.pingHosts().isEmpty())
        QMessageBox::critical(this, QStringLiteral("Sitelark"),
                              QStringLiteral("Intenet connection not available. Check you Ping Settings."));
}

void MainForm::buildAddressBar() {
    addToolBarBreak();
    addToolBar(addressBar_);
    address_ = new QLineEdit(QStringLiteral("http://"), addressBar_);
    address_->setObjectName(QStringLiteral("address"));
    depth_ = new QSpinBox(addressBar_);
    depth_->setObjectName(QStringLiteral("depth"));
    depth_->setRange(0, 99);
    depth_->setValue(0);
    depth_->setPrefix(QStringLiteral("Depth "));
    depth_->setToolTip(QStringLiteral("Task Depth"));
    addressBar_->addWidget(address_);
    addressBar_->addWidget(depth_);
    get_ = addressBar_->addAction(QStringLiteral("Get"), this, &MainForm::getAddress);
    get_->setObjectName(QStringLiteral("acGet"));
    connect(address_, &QLineEdit::returnPressed, this, &MainForm::getAddress);
    connect(address_, &QLineEdit::textChanged, this, &MainForm::updateGet);
    connect(depth_, &QSpinBox::valueChanged, this, &MainForm::updateGet);
}

void MainForm::buildPanes() {
    const auto dock = [this](QWidget *pane, const QString &title, const QString &name) {
        auto *window = new QDockWidget(title, this);
        window->setObjectName(name);
        window->setWidget(pane);
        addDockWidget(Qt::BottomDockWidgetArea, window);
        viewMenu_->addAction(window->toggleViewAction());
        return window;
    };
    QDockWidget *progress = dock(progressFrame_, QStringLiteral("Progress"), QStringLiteral("progressWindow"));
    QDockWidget *statistic = dock(statFrame_, QStringLiteral("Statistic"), QStringLiteral("statisticWindow"));
    progress->toggleViewAction()->setObjectName(QStringLiteral("acShowProgress"));
    progress->toggleViewAction()->setToolTip(QStringLiteral("Show progress"));
    statistic->toggleViewAction()->setObjectName(QStringLiteral("acShowStat"));
    statistic->toggleViewAction()->setText(QStringLiteral("Statistics"));
    statistic->toggleViewAction()->setToolTip(QStringLiteral("Show statistics"));
    splitDockWidget(progress, statistic, Qt::Horizontal);
    resizeDocks({progress, statistic}, {2, 1}, Qt::Horizontal);
    connect(taskList_, &TaskListFrame::currentChanged, progressFrame_, &ProgressFrame::showTask);
    connect(statFrame_, &StatFrame::helpRequested, this, [this] { showHelp(QStringLiteral("/source/progress.html")); });
}

void MainForm::buildPageCommands() {
    pageHost_ = new PageHost(*pages_);
    QMenu *view = viewMenu_;
    view->addSeparator();
    view->addAction(pageHost_->closeActivePage());
    view->addAction(pageHost_->undockActivePage());
    QMenu *sides = view->addMenu(QStringLiteral("Tabs Position "));
    sides->addActions(pageHost_->tabPositionCommands());
    for (int kind = 0; kind < PageHost::kKinds; ++kind)
        view->addMenu(pageHost_->windowMenu(static_cast<PageHost::Kind>(kind)));
    const auto side = settings_.number(QStringLiteral("PageControl1.TabPosition"));
    if (side && *side <= QTabWidget::East) pageHost_->setTabPosition(static_cast<QTabWidget::TabPosition>(*side));

    // The tab strip's own menu: the page under the pointer.
    pages_->tabBar()->setContextMenuPolicy(Qt::ActionsContextMenu);
    pages_->tabBar()->addActions({pageHost_->closePage(), pageHost_->undockPage()});

    buildViewStyleCommands(view);
    QAction *labels = view->addAction(QStringLiteral("Show labels"), this, [this](bool shown) {
        options_.showToolBarLabels = shown;
        showToolBarLabels();
    });
    labels->setObjectName(QStringLiteral("acShowToolBarCaptions"));
    labels->setCheckable(true);
    labels->setChecked(options_.showToolBarLabels);
}

void MainForm::buildBrowserDropDown(QAction *browse) {
    auto *browsers = new QMenu(this);
    connect(browsers, &QMenu::aboutToShow, this, [this, browsers] {
        browsers->clear();
        for (QWidget *window : pageHost_->windows(PageHost::Kind::Browser))
            browsers->addAction(window->windowTitle(), this, [this, target = QPointer<QWidget>(window)] {
                if (target) pageHost_->activate(target);
            });
        browsers->addSeparator();
        browsers->addAction(QStringLiteral("Launch Browser"), this,
                            [this] { openBrowser(QString(), 0, QDateTime::currentDateTime(), true); });
    });
    browse->setMenu(browsers);
    if (auto *button = qobject_cast<QToolButton *>(mainBar_->widgetForAction(browse)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
}

void MainForm::buildViewStyleCommands(QMenu *view) {
    view->addSeparator();
    auto *styles = new QActionGroup(this);
    const char *const captions[] = {"Large Icon", "Small Icon", "List", "Details"};
    const char *const names[] = {"acViewIcon", "acViewSmallIcon", "acViewList", "acViewDetails"};
    for (int style = 0; style < 4; ++style) {
        QAction *choice =
            view->addAction(QString::fromLatin1(captions[style]), this, [this, style] { setViewStyle(style); });
        choice->setObjectName(QString::fromLatin1(names[style]));
        choice->setCheckable(true);
        styles->addAction(choice);
    }
    QAction *next =
        view->addAction(QStringLiteral("Views"), this, [this] { setViewStyle((options_.viewStyle + 1) % 4); });
    next->setObjectName(QStringLiteral("acViews"));
    viewStyles_ = styles->actions();
    setViewStyle(options_.viewStyle);
}

void MainForm::setViewStyle(int style) {
    options_.viewStyle = style;
    viewStyles_.at(style)->setChecked(true);
    taskList_->setViewStyle(static_cast<TaskListFrame::ViewStyle>(style));
    emit viewStyleChanged(style);
}

void MainForm::followViewStyle(ListViews &views) {
    views.setStyle(static_cast<ListViews::Style>(options_.viewStyle));
    connect(this, &MainForm::viewStyleChanged, &views,
            [&views](int style) { views.setStyle(static_cast<ListViews::Style>(style)); });
}

void MainForm::showToolBarLabels() {
    QList<QToolBar *> bars = findChildren<QToolBar *>();
    for (int kind = 0; kind < PageHost::kKinds; ++kind)
        for (QWidget *window : pageHost_->windows(static_cast<PageHost::Kind>(kind)))
            if (!PageHost::docked(window)) bars += window->findChildren<QToolBar *>();
    for (QToolBar *bar : std::as_const(bars))
        bar->setToolButtonStyle(options_.showToolBarLabels ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
}

void MainForm::buildSearchCommands() {
    auto *search = new QMenu(QStringLiteral("&Search"), this);
    menuBar()->insertMenu(menuBar()->actions().constLast(), search);
    QAction *dialog = search->addAction(QStringLiteral("Search"), this, [this] {
        if (const std::optional<SearchCriteria> criteria = SearchDialog::ask(this, project_, SearchCriteria{}))
            openSearchPage(*criteria);
    });
    dialog->setObjectName(QStringLiteral("acShowSearch"));
    dialog->setToolTip(QStringLiteral("Search in Retrieved Files"));
    dialog->setStatusTip(QStringLiteral("Show search dialog"));
    mainBar_->addAction(dialog);
    setPicture(dialog, QStyle::SP_FileDialogContentsView);
    projectCommands_ << dialog;
    const std::tuple<const char *, const char *, const char *, int16_t> lists[] = {
        {"acSearchErrors", "Search All Errors", "List all errors", SearchCriteria::WithErrors},
        {"acSearchQueued", "Search All Queued", "List all queued", SearchCriteria::Queued},
        {"acSearchSuccess", "Search All Success", "List all success", SearchCriteria::WithoutErrors}};
    for (const auto &[name, caption, hint, states] : lists) {
        QAction *list = search->addAction(QString::fromLatin1(caption), this,
                                          [this, states] { openSearchPage(SearchCriteria::ofStates(states)); });
        list->setObjectName(QString::fromLatin1(name));
        list->setStatusTip(QString::fromLatin1(hint));
        projectCommands_ << list;
    }
}

SearchResultPage *MainForm::openSearchPage(const SearchCriteria &criteria) {
    auto *page = new SearchResultPage(project_, criteria);
    connect(page, &SearchResultPage::captionChanged, page, &QWidget::setWindowTitle);
    page->setWindowTitle(page->caption());
    hostWindow(page, PageHost::Kind::SearchResult);
    page->search();
    return page;
}

void MainForm::buildTaskCommands() {
    auto *folders = new QDockWidget(QStringLiteral("Folders"), this);
    folders->setObjectName(QStringLiteral("foldersWindow"));
    folders->setWidget(folderTree_);
    addDockWidget(Qt::LeftDockWidgetArea, folders);
    QAction *showFolders = folders->toggleViewAction();
    showFolders->setObjectName(QStringLiteral("acShowFolders"));
    showFolders->setToolTip(QStringLiteral("Show/Hide Folders Window"));
    viewMenu_->addAction(showFolders);
    // Showing the folders docked also brings the task list to the front, beside them.
    QAction *showFoldersBeside = viewMenu_->addAction(QStringLiteral("Show Folders"), this, [this, folders] {
        folders->show();
        if (!folders->isFloating()) pages_->setCurrentIndex(0);
    });
    showFoldersBeside->setObjectName(QStringLiteral("acShowFoldersArr"));

    QAction *help = menuBar()->actions().constLast();
    auto *tasks = new QMenu(QStringLiteral("&Tasks"), this);
    menuBar()->insertMenu(help, tasks);
    auto *taskBar = new QToolBar(QStringLiteral("Task Tool Bar"), this);
    for (QAction *command : taskList_->commands()) {
        if (command)
            tasks->addAction(command);
        else
            tasks->addSeparator();
    }
    tasks->addMenu(taskList_->viewsMenu());
    tasks->addMenu(taskList_->sortMenu());
    setPicture(taskList_->command(QStringLiteral("acNewTask")), QStyle::SP_FileDialogNewFolder);
    setPicture(taskList_->command(QStringLiteral("acRun")), QStyle::SP_MediaPlay);
    setPicture(taskList_->command(QStringLiteral("acStop")), QStyle::SP_MediaStop);
    setPicture(taskList_->command(QStringLiteral("acDelete")), QStyle::SP_TrashIcon);
    setPicture(taskList_->command(QStringLiteral("acProperties")), QStyle::SP_FileDialogDetailedView);
    taskBar->addActions({taskList_->command(QStringLiteral("acNewTask")), taskList_->command(QStringLiteral("acRun")),
                         taskList_->command(QStringLiteral("acStop")), taskList_->command(QStringLiteral("acDelete")),
                         taskList_->command(QStringLiteral("acProperties"))});
    // The toolbar's "Task" button drops down the whole task menu. A button of
    // its own: a second action given the menu would take over the menu's own
    // entry in the menu bar.
    auto *taskMenuButton = new QToolButton(taskBar);
    taskMenuButton->setObjectName(QStringLiteral("taskMenuButton"));
    taskMenuButton->setText(QStringLiteral("Task"));
    taskMenuButton->setIcon(QApplication::style()->standardIcon(QStyle::SP_FileDialogListView));
    taskMenuButton->setMenu(tasks);
    taskMenuButton->setPopupMode(QToolButton::InstantPopup);
    connect(taskBar, &QToolBar::toolButtonStyleChanged, taskMenuButton, &QToolButton::setToolButtonStyle);
    taskBar->addSeparator();
    taskBar->addWidget(taskMenuButton);
    insertToolBar(addressBar_, taskBar);
    viewMenu_->addAction(taskBar->toggleViewAction());
    auto *folderMenu = new QMenu(QStringLiteral("F&olders"), this);
    menuBar()->insertMenu(help, folderMenu);
    folderMenu->addActions(folderTree_->commands());

    // Cut, Paste and Delete act on the folder tree while it has the focus or the task list cannot, else on the task
    // list.
    auto *edit = new QMenu(QStringLiteral("&Edit"), this);
    menuBar()->insertMenu(viewMenu_->menuAction(), edit);
    // Each is enabled while the command it stands for can act.
    const auto routed = [this, edit](const QString &caption, const QString &listCommand, const QString &treeCommand) {
        QAction *list = taskList_->command(listCommand);
        QAction *tree = treeCommand.isEmpty() ? nullptr : folderTree_->command(treeCommand);
        QAction *command = edit->addAction(caption, this, [this, list, tree] {
            const bool onTree = tree && tree->isEnabled() && (folderTree_->hasFocus() || !list->isEnabled());
            QAction *target = onTree ? tree : list;
            if (target->isEnabled()) target->trigger();
        });
        command->setObjectName(QStringLiteral("acEdit") + caption);
        const auto follow = [command, list, tree] {
            command->setEnabled(list->isEnabled() || (tree && tree->isEnabled()));
        };
        connect(list, &QAction::changed, command, follow);
        if (tree) connect(tree, &QAction::changed, command, follow);
        follow();
    };
    routed(QStringLiteral("Cut"), QStringLiteral("acCut"), QStringLiteral("acFolderCut"));
    routed(QStringLiteral("Copy"), QStringLiteral("acCopy"), QString());
    routed(QStringLiteral("Paste"), QStringLiteral("acPaste"), QStringLiteral("acFolderPaste"));
    routed(QStringLiteral("Delete"), QStringLiteral("acDelete"), QStringLiteral("acFolderDelete"));

    statusTasks_->setTextFormat(Qt::PlainText);  // it shows a task's address
    connect(taskList_, &TaskListFrame::statusChanged, statusTasks_, &QLabel::setText);
    connect(taskList_, &TaskListFrame::currentChanged, this, &MainForm::followCurrentTask);
    connect(taskList_, &TaskListFrame::taskCreated, this, &MainForm::promptOffline);
    connect(&project_, &KestProject::folderSelected, this, &MainForm::updateGet);
    connect(taskList_, &TaskListFrame::openRequested, this, &MainForm::openBrowser);
    // The task commands and the sort order belong to the first page.
    connect(pages_, &QTabWidget::currentChanged, this, [this, tasks, taskMenuButton](int page) {
        tasks->menuAction()->setEnabled(page == 0);
        taskMenuButton->setEnabled(page == 0);
        taskList_->viewsMenu()->menuAction()->setEnabled(page == 0);
        taskList_->sortMenu()->menuAction()->setEnabled(page == 0);
    });
}

void MainForm::buildWebsiteStructureCommand() {
    connect(taskList_, &TaskListFrame::websiteStructureRequested, this, &MainForm::showWebsiteStructure);
}

void MainForm::showWebsiteStructure(const TaskRow &task) {
    for (QWidget *shown : pageHost_->windows(PageHost::Kind::Structure)) {
        if (static_cast<WebsiteStructureWindow *>(shown)->task() == task.id) {
            pageHost_->activate(shown);
            return;
        }
    }
    auto *window = new WebsiteStructureWindow(project_, task);
    connect(window, &WebsiteStructureWindow::captionChanged, window, &QWidget::setWindowTitle);
    window->setWindowTitle(window->caption());
    connect(window, &WebsiteStructureWindow::openRequested, this, &MainForm::openBrowser);
    connect(window, &WebsiteStructureWindow::infoPageRequested, this, &MainForm::showReport);
    hostWindow(window, PageHost::Kind::Structure);
}

// ---- Exports, favourites import and report pages ----

void MainForm::buildExportCommands() {
    const auto menuNamed = [this](const QString &title) {
        for (QAction *menu : menuBar()->actions())
            if (menu->text() == title) return menu->menu();
        return static_cast<QMenu *>(nullptr);
    };
    QMenu *file = menuNamed(QStringLiteral("&File"));
    QAction *exit = file->actions().constLast();
    const auto fileCommand = [this, file, exit](const QString &caption, const QString &name, auto handler) {
        auto *command = new QAction(caption, this);
        command->setObjectName(name);
        connect(command, &QAction::triggered, this, handler);
        file->insertAction(exit, command);
        projectCommands_ << command;
        return command;
    };
    fileCommand(QStringLiteral("Export"), QStringLiteral("acExportProject"), [this] {
        exportProject(this, project_);
    })->setToolTip(QStringLiteral("Create a browsable copy of project on disk"));
    const auto showFolders = [this] {
        if (auto *folders = findChild<QDockWidget *>(QStringLiteral("foldersWindow"))) folders->show();
    };
    fileCommand(QStringLiteral("Import Favorites"), QStringLiteral("acImportFavorites"), [this, showFolders] {
        if (importBookmarksFile(this, project_)) showFolders();
    })->setToolTip(QStringLiteral("Import favorites"));
    fileCommand(QStringLiteral("Import Favorites Folder"), QStringLiteral("acImportFavoritesFolder"),
                [this, showFolders] {
                    if (importShortcutFolder(this, project_)) showFolders();
                });
    file->insertSeparator(exit);

    QAction *report = menuNamed(QStringLiteral("&Project"))->addAction(QStringLiteral("Report"), this, [this] {
        showReport(QUrl(QStringLiteral("qzinfo://projectreport/")));
    });
    report->setObjectName(QStringLiteral("acProjectReport"));
    projectCommands_ << report;

    QMenu *tasks = menuNamed(QStringLiteral("&Tasks"));
    tasks->addSeparator();
    QAction *saveTasks = tasks->addAction(QStringLiteral("Save Task(s) As ..."), this,
                                          [this] { saveTasksAs(this, project_, taskList_->selectedTasks()); });
    saveTasks->setObjectName(QStringLiteral("acSaveTasksAs"));
    QAction *taskReport = tasks->addAction(QStringLiteral("Report"), this, [this] {
        if (const std::optional<TaskRow> task = taskList_->currentTask())
            showReport(QUrl(QStringLiteral("qzinfo://taskinfo/%1/").arg(task->id)));
    });
    taskReport->setObjectName(QStringLiteral("acTaskReport"));
    const auto followSelection = [this, saveTasks, taskReport] {
        saveTasks->setEnabled(project_.active() && !taskList_->selectedTasks().empty());
        taskReport->setEnabled(project_.active() && taskList_->currentTask().has_value());
    };
    connect(taskList_, &TaskListFrame::currentChanged, this, followSelection);
    connect(&project_, &KestProject::afterClose, this, followSelection);
    followSelection();
}

void MainForm::showReport(const QUrl &page) {
    BrowserForm *window = createBrowser(options_.openBrowserInTabs);
    window->showPageAlone();
    pageHost_->activate(window);
    window->navigate(page);
}

// ---- end of exports, favourites import and report pages ----

void MainForm::updateCommands() {
    const bool open = project_.active();
    for (QAction *command : std::as_const(projectCommands_)) command->setEnabled(open);
    address_->setEnabled(open);
    depth_->setEnabled(open);
    updateGet();
    const bool running = open && project_.running();
    online_->setText(running ? QStringLiteral("Go Offline") : QStringLiteral("Go Online"));
    online_->setToolTip(online_->text());
    reopenMenu_->menuAction()->setVisible(!recent_.isEmpty());
}

void MainForm::refreshCaption() {
    QString caption;
    if (quitTime_.isValid()) {
        const qint64 left = std::max<qint64>(0, QDateTime::currentDateTime().secsTo(quitTime_));
        caption = QStringLiteral("(%1:%2:%3) - ")
                      .arg(left / 3600, 2, 10, QLatin1Char('0'))
                      .arg(left / 60 % 60, 2, 10, QLatin1Char('0'))
                      .arg(left % 60, 2, 10, QLatin1Char('0'));
    }
    caption += QStringLiteral("Sitelark");
    if (project_.active())
        caption += QStringLiteral(" - ") + project_.title() +
                   (project_.running() ? QStringLiteral(" - [ONLINE]") : QStringLiteral(" - [OFFLINE]"));
    setWindowTitle(caption);
    statusState_->setText(project_.active()
                              ? (project_.running() ? QStringLiteral("Online") : QStringLiteral("Offline"))
                              : QStringLiteral("No project"));
    updateCommands();
}

void MainForm::rebuildReopenMenu() {
    reopenMenu_->clear();
    for (const QString &path : std::as_const(recent_))
        reopenMenu_->addAction(path, this, [this, path] { openFile(path); });
    reopenMenu_->menuAction()->setVisible(!recent_.isEmpty());
}

void MainForm::addRecent(const QString &path) {
    // Paths keep their case: file names differ by case here.
    recent_.removeAll(path);
    recent_.prepend(path);
    settings_.setList(QStringLiteral("DocumentList"), recent_);
    rebuildReopenMenu();
}

void MainForm::openFile(const QString &path) {
    project_.setActive(false);
    project_.setFileName(QFileInfo(path).absoluteFilePath());
    project_.setActive(true);
}

void MainForm::newProject() {
    // Made first: shown a folder that does not exist (as on a first start),
    // the file dialog would open in the working folder instead.
    QDir().mkpath(options_.projectFolder);
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("New Project File Name"),
                                     QDir(options_.projectFolder).filePath(QStringLiteral("NewProject.slk")),
                                     kProjectFilter, nullptr, QFileDialog::DontUseNativeDialog);
    if (path.isEmpty()) return;
    openEmptyProject(path);
    if (project_.active()) project_.setRunning(true);
}

void MainForm::openEmptyProject(const QString &path) {
    project_.setActive(false);
    try {
        eng::writeNewProject(path.toStdString());
    } catch (const std::exception &) {
        return;  // the file cannot be written (in use, no access): the project stays closed
    }
    openFile(path);
}

void MainForm::openProject() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open Project"), QString(), kProjectFilter,
                                                      nullptr, QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty()) openFile(path);
}

void MainForm::clearProject() {
    if (QMessageBox::question(this, QStringLiteral("Sitelark"), QStringLiteral("Clear this project ?"),
                              QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    openEmptyProject(project_.fileName());
}

void MainForm::compactDatabase() {
    runDatabaseTool(QStringLiteral("Compact Database"), engine().Eng_CompactDatabase,
                    QStringLiteral("Error compacting database."));
}

void MainForm::repairDatabase() {
    runDatabaseTool(QStringLiteral("Repair Database"), engine().Eng_RepairDatabase,
                    QStringLiteral("Error repairing database."));
}

void MainForm::runDatabaseTool(const QString &title, int32_t (*tool)(const char *), const QString &failure) {
    const QString path =
        QFileDialog::getOpenFileName(this, title, QString(), kProjectFilter, nullptr, QFileDialog::DontUseNativeDialog);
    if (path.isEmpty()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool done = tool(path.toLocal8Bit().constData()) != 0;
    QApplication::restoreOverrideCursor();
    if (done)
        QMessageBox::information(this, QStringLiteral("Sitelark"), QStringLiteral("Operation completed successfully."));
    else
        QMessageBox::critical(this, QStringLiteral("Sitelark"), failure);
}

void MainForm::toggleOnline() {
    if (!project_.running() && options_.showRefreshMessage) {
        if (const int n = project_.refreshableCount(); n > 0) {
            const auto [yes, optOut] = askWithOptOut(this, refreshQuestion(n));
            if (yes) project_.refreshProject();
            if (optOut) options_.showRefreshMessage = false;
        }
    }
    project_.setRunning(!project_.running());
}

void MainForm::refreshProjectCommand() {
    const int n = project_.refreshableCount();
    if (n == 0) {
        QMessageBox::information(this, QStringLiteral("Sitelark"),
                                 QStringLiteral("This command refreshes all files that were not retrieved due to "
                                                "network connection errors. Currently the project does not contain "
                                                "such files."));
        return;
    }
    if (QMessageBox::question(this, QStringLiteral("Sitelark"), refreshQuestion(n),
                              QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok)
        project_.refreshProject();
}

void MainForm::followCurrentTask(const std::optional<TaskRow> &task) {
    currentTask_ = task;
    address_->setText(task ? task->url : QStringLiteral("http://"));
    depth_->setValue(task ? static_cast<int>(task->depth) : 0);
    updateGet();
}

void MainForm::updateGet() {
    const bool change = currentTask_ && currentTask_->url == address_->text() &&
                        currentTask_->depth != static_cast<uint32_t>(depth_->value());
    get_->setText(change ? QStringLiteral("Change") : QStringLiteral("Get"));
    get_->setToolTip(change ? QStringLiteral("Change Task Levels") : QStringLiteral("Create New Task"));
    get_->setEnabled(project_.active() && project_.selectedFolder() != 0 &&
                     !normalisedAddress(address_->text()).isEmpty());
}

void MainForm::getAddress() {
    if (!get_->isEnabled()) return;
    if (get_->text() == QStringLiteral("Change")) return changeDepth();
    TaskRow task;
    task.url = normalisedAddress(address_->text());
    if (task.url.isEmpty()) {
        QMessageBox::critical(this, QStringLiteral("Sitelark"), QStringLiteral("Invalid URL."));
        return;
    }
    if (project_.findTasks(task.url) &&
        QMessageBox::question(this, QStringLiteral("Sitelark"),
                              QStringLiteral("Task already exists. Create a new copy of task ?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    task.depth = static_cast<uint32_t>(depth_->value());
    const std::optional<QByteArray> filter = TaskFilterOptionsDialog::linkFilter(this, task.url, task.depth, {});
    if (!filter) return;
    task.filter = *filter;
    task.acceptableAge = -1;
    task.folder = project_.selectedFolder();
    task.followRedirects = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int result = project_.createTask(std::move(task));
    QApplication::restoreOverrideCursor();
    if (!reportTaskResult(this, result)) return;
    promptOffline();
    address_->setText(QStringLiteral("http://"));
    depth_->setValue(0);
}

void MainForm::changeDepth() {
    std::optional<TaskRow> task = currentTask_ ? project_.task(currentTask_->id) : std::nullopt;
    if (!task) return;
    task->depth = static_cast<uint32_t>(depth_->value());
    const std::optional<QByteArray> filter =
        TaskFilterOptionsDialog::linkFilter(this, task->url, task->depth, task->filter);
    if (!filter) return;
    task->filter = *filter;
    if (!project_.updateTask(*task)) return;
    currentTask_ = task;
    updateGet();
}

BrowserForm *MainForm::openBrowser(const QString &address, uint32_t number, const QDateTime &stamp, bool newWindow,
                                   const QString &formData) {
    BrowserForm *browser = newWindow ? nullptr : defaultBrowser_.data();
    if (!browser) {
        browser = createBrowser(options_.openBrowserInTabs);
        if (!defaultBrowser_) makeDefaultBrowser(browser);
    }
    pageHost_->activate(browser);
    browser->open(address, number, stamp, formData);
    return browser;
}

BrowserForm *MainForm::createBrowser(bool docked) {
    auto *browser = new BrowserForm(browserProfile(), project_, options_);
    connect(browser, &BrowserForm::windowRequested, this, [this](BrowserForm **form, bool docked) {
        *form = createBrowser(docked);
        pageHost_->activate(*form);
    });
    connect(browser, &BrowserForm::newWindowRequested, this, [this] { openBrowser(QString(), 0, QDateTime(), true); });
    connect(browser, &BrowserForm::defaultRequested, this, [this, browser] { makeDefaultBrowser(browser); });
    connect(browser, &BrowserForm::captionChanged, this, [this, browser] { showCaption(browser); });
    connect(browser, &BrowserForm::dockToggleRequested, this, [this, browser] {
        pageHost_->setDocked(browser, !browser->docked());
        pageHost_->activate(browser);
    });
    pageHost_->addWindow(browser, PageHost::Kind::Browser, docked);
    showCaption(browser);
    return browser;
}

void MainForm::showHelp(const QString &topic) {
    BrowserForm *help = createBrowser(options_.openBrowserInTabs);
    if (help->docked()) showNormal(), raise();
    pageHost_->activate(help);
    help->navigate(QUrl(QStringLiteral("qzinfo://help") + topic));
}

void MainForm::showCaption(BrowserForm *browser) { browser->setWindowTitle(browser->caption()); }

void MainForm::makeDefaultBrowser(BrowserForm *browser) {
    if (defaultBrowser_) defaultBrowser_->setDefault(false);
    defaultBrowser_ = browser;
    browser->setDefault(true);
}

void MainForm::start() {
    if (!settings_.number(QStringLiteral("FirstStart"))) {
        newProject();
        return;
    }
    const QString first = arguments_.value(1);
    if (!first.isEmpty() && QFileInfo(first).isFile()) {
        openFile(first);
    } else if (options_.openNewProjectAtStart || recent_.isEmpty()) {
        chooseProject();
    } else {
        openFile(recent_.first());
        if (!project_.active()) chooseProject();
    }
    applySwitches();
    if (options_.launchBrowserAtStart && project_.active())
        openBrowser(QString(), 0, QDateTime::currentDateTime(), false);
}

void MainForm::chooseProject() {
    OpenProjectChooser chooser(recent_, this);
    if (chooser.exec() != QDialog::Accepted) return;
    if (chooser.createNew())
        newProject();
    else if (chooser.chosenFile().isEmpty())
        openProject();
    else
        openFile(chooser.chosenFile());
}

void MainForm::applySwitches() {
    for (const QString &argument : arguments_.mid(1)) {
        QString word = argument;
        word.remove(u'/').remove(u'\\');
        word = word.toUpper();
        if (word == QStringLiteral("RUN") && project_.active()) project_.setRunning(true);
        if (word.startsWith(QStringLiteral("WORKTIME="))) {
            const QTime span = QTime::fromString(word.mid(9), QStringLiteral("hh:mm"));
            if (span.isValid()) quitTime_ = QDateTime::currentDateTime().addSecs(span.msecsSinceStartOfDay() / 1000);
        }
        if (word == QStringLiteral("?"))
            QMessageBox::information(this, QStringLiteral("Sitelark"),
                                     QStringLiteral("Usage: Sitelark [PROJECT.slk] [RUN] [WORKTIME=hh:mm] [?]\n\n"
                                                    "PROJECT.slk\topens the project\nRUN\tgoes online\n"
                                                    "WORKTIME=hh:mm\tcloses the program after that time\n"
                                                    "?\tshows this text"));
    }
    refreshCaption();
}

void MainForm::afterOpen() {
    refreshCaption();
    if (!project_.active()) return;
    addRecent(project_.fileName());
    applyOptionsToProject(options_, project_);
    showStatistics();
    if (options_.goToOnlineAfterOpen) project_.setRunning(true);
}

void MainForm::beforeClose() {
    address_->setEnabled(false);
    depth_->setEnabled(false);
}

void MainForm::followRunning(bool running) {
    refreshCaption();
    if (running)
        diskTimer_->start();
    else
        diskTimer_->stop();
}

void MainForm::offerToGoOnline(const StatProgress &statistics) {
    if (statistics.itemsRemaining)
        promptIncomplete();
    else
        hintGoOnline();
}

void MainForm::promptIncomplete() {
    askToGoOnline(
        QStringLiteral("The project contains incomplete tasks. Do you want to go online and download them now?"),
        options_.showOnlinePrompt2);
}

void MainForm::promptOffline() {
    askToGoOnline(QStringLiteral("You are currently working in offline mode. Do you want to go online now?"),
                  options_.showOnlinePrompt);
}

void MainForm::askToGoOnline(const QString &question, bool &option) {
    if (!project_.active() || project_.running() || !option) return;
    const auto [yes, optOut] = askWithOptOut(this, question);
    if (optOut) option = false;
    if (yes) toggleOnline();
}

void MainForm::hintGoOnline() {
    if (!project_.active() || project_.running() || !mainBar_->isVisible()) return;
    QWidget *button = mainBar_->widgetForAction(online_);
    if (!button) return;
    QToolTip::showText(button->mapToGlobal(button->rect().center()), QStringLiteral("Click here to go online"), button);
}

void MainForm::showStatistics() {
    if (!project_.active()) {
        statusCounts_->clear();
        return;
    }
    const StatProgress &s = project_.statistics();
    const QString counts = QStringLiteral("Retrieved %1, queued %2, errors %3, %4 bytes")
                               .arg(s.itemsRetrieved)
                               .arg(s.itemsRemaining)
                               .arg(s.errors)
                               .arg(s.bytesRetrieved);
    statusCounts_->setText(counts);
}

void MainForm::quitTick() {
    if (quitTime_.isValid()) {
        refreshCaption();
        if (QDateTime::currentDateTime() >= quitTime_) close();
    }
    if (quitTime_.isValid() && project_.active() && project_.running() && project_.statistics().itemsRemaining == 0)
        close();
}

void MainForm::checkDiskSpace() {
    const QStorageInfo disk(QFileInfo(project_.fileName()).absolutePath());
    if (disk.bytesAvailable() >= static_cast<qint64>(options_.diskSize) * 1024) return;
    project_.setRunning(false);
    diskTimer_->stop();
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Sitelark"),
                    QStringLiteral("The program stopped downloading because free disk space dropped below the "
                                   "user specified level. Change program settings in the Options dialog box or "
                                   "remove unused files to free disk space."),
                    QMessageBox::Ok, this);
    QPushButton *options = box.addButton(QStringLiteral("&Options .."), QMessageBox::ActionRole);
    box.exec();
    if (box.clickedButton() == options) showOptions(OptionsDialog::General);
}

void MainForm::closeEvent(QCloseEvent *event) {
    settings_.setNumber(QStringLiteral("Left"), static_cast<uint32_t>(std::max(0, geometry().x())));
    settings_.setNumber(QStringLiteral("Top"), static_cast<uint32_t>(std::max(0, geometry().y())));
    settings_.setNumber(QStringLiteral("Width"), static_cast<uint32_t>(width()));
    settings_.setNumber(QStringLiteral("Height"), static_cast<uint32_t>(height()));
    settings_.setList(QStringLiteral("DocumentList"), recent_);
    settings_.setNumber(QStringLiteral("PageControl1.TabPosition"), static_cast<uint32_t>(pages_->tabPosition()));
    dropBox_->save();
    dropBox_->hide();
    project_.setActive(false);
    // Free windows (help opened without a project, undocked pages) go with the main window.
    for (int kind = 0; kind < PageHost::kKinds; ++kind)
        for (QWidget *window : pageHost_->windows(static_cast<PageHost::Kind>(kind)))
            if (!PageHost::docked(window)) window->close();
    event->accept();
}

// The Files List windows.

void MainForm::followItemLists(QWidget &window) {
    for (ItemListFrame *list : window.findChildren<ItemListFrame *>()) {
        followViewStyle(list->styles());
        // The browser's Back and Forward then step through the list.
        connect(list, &ItemListFrame::openRequested, this,
                [this, list](const QString &address, uint32_t number, const QDateTime &stamp, bool newWindow,
                             const QString &formData) {
                    openBrowser(address, number, stamp, newWindow, formData)
                        ->stepWith(list->command(QStringLiteral("acMoveUp")),
                                   list->command(QStringLiteral("acMoveDown")));
                });
        connect(list, &ItemListFrame::infoPageRequested, this, &MainForm::showReport);
    }
}

void MainForm::hostWindow(QWidget *window, PageHost::Kind kind) {
    followItemLists(*window);
    pageHost_->addWindow(window, kind, true);
    showToolBarLabels();
    pageHost_->activate(window);
}

void MainForm::buildItemWindows() { connect(taskList_, &TaskListFrame::itemsRequested, this, &MainForm::showItems); }

ItemWindow *MainForm::itemWindow(uint32_t task) const {
    const auto found = itemWindows_.find(task);
    return found == itemWindows_.end() ? nullptr : found->second.data();
}

ItemWindow *MainForm::showItems(const TaskRow &task) {
    if (ItemWindow *open = itemWindow(task.id)) {
        pageHost_->activate(open);
        return open;
    }
    // Windows closed since are forgotten here; the map is never touched from their destruction,
    // which may come while this window's own members are already gone.
    std::erase_if(itemWindows_, [](const auto &open) { return open.second.isNull(); });
    auto *window = new ItemWindow(project_, task, pages_);
    itemWindows_[task.id] = window;
    connect(window, &ItemWindow::captionChanged, this, [window] { window->setWindowTitle(window->caption()); });
    window->setWindowTitle(window->caption());
    hostWindow(window, PageHost::Kind::TaskFiles);
    window->start(task);
    return window;
}
