// Every command of the main window's menus and toolbars, walked as a user
// would: in each of three situations (no project, a project on its task
// list, a stored page in a browser page) each command either does something
// that shows — a dialog, a window or page, a changed view, list, clipboard
// or project state — or is disabled or hidden for a reason this test states.
// A command that does nothing, or a reason that no longer holds, fails.

#include <functional>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "BrowserForm.h"
#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "KestProject.h"
#include "MainForm.h"
#include "views/FolderTree.h"
#include "views/TaskListFrame.h"
#include "views/TaskListModel.h"

using namespace gui_test;

namespace {

// Closes every modal dialog and popup as soon as it opens, refusing it (a
// message box by its escape button), and keeps what opened.
class DialogRefuser : public QObject {
public:
    DialogRefuser() {
        connect(&poll_, &QTimer::timeout, this, &DialogRefuser::refuse);
        poll_.start(20);
    }
    // What opened since the last call.
    QStringList take() { return std::exchange(opened_, {}); }

private:
    void refuse() {
        if (QWidget *popup = QApplication::activePopupWidget()) popup->close();
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) return;
        opened_ << QStringLiteral("dialog %1 \"%2\"").arg(modal->metaObject()->className(), modal->windowTitle());
        if (auto *box = qobject_cast<QMessageBox *>(modal); box && box->escapeButton())
            box->escapeButton()->click();
        else if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }

    QTimer poll_;
    QStringList opened_;
};

struct Command {
    QString path;  // "File/Close", "View/Tabs Position/Left"
    QAction *action;
};

QString plain(QString caption) { return caption.remove(QLatin1Char('&')).trimmed(); }

// The commands of the menu and its submenus in menu order; a submenu's own
// entry comes before its commands.
void collect(QMenu *menu, const QString &path, QList<Command> &commands) {
    emit menu->aboutToShow();  // menus that fill themselves when opened
    for (QAction *action : menu->actions()) {
        if (action->isSeparator()) continue;
        const QString at = path + QLatin1Char('/') + plain(action->text());
        commands << Command{at, action};
        if (action->menu()) collect(action->menu(), at, commands);
    }
}

QList<Command> menuCommands(MainForm &form) {
    QList<Command> commands;
    for (QAction *menu : form.menuBar()->actions()) {
        commands << Command{plain(menu->text()), menu};
        collect(menu->menu(), plain(menu->text()), commands);
    }
    return commands;
}

// Whether the command, or a menu it is in, is disabled or hidden: a
// command under a closed menu cannot be reached.
bool underClosedMenu(const QList<Command> &commands, const QString &path) {
    for (const Command &menu : commands)
        if (menu.action->menu() && path.startsWith(menu.path + QLatin1Char('/')) &&
            (!menu.action->isEnabled() || !menu.action->isVisible()))
            return true;
    return false;
}

QStringList rowsOf(const QAbstractItemModel &model, const QModelIndex &parent = {}) {
    QStringList rows;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(parent); ++column)
            cells << model.index(row, column, parent).data().toString();
        rows << cells.join(QLatin1Char('|'));
        rows += rowsOf(model, model.index(row, 0, parent));
    }
    return rows;
}

// What a user can see of the program, line by line.
QStringList appearance(MainForm &form) {
    QStringList seen;
    seen << QStringLiteral("caption ") + form.windowTitle();
    seen << QStringLiteral("running %1").arg(form.project().active() && form.project().running());
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible())
            seen << QStringLiteral("window %1 \"%2\"").arg(window->metaObject()->className(), window->windowTitle());
    for (QDockWidget *pane : form.findChildren<QDockWidget *>())
        seen << QStringLiteral("pane %1 %2 %3").arg(pane->objectName()).arg(pane->isVisible()).arg(pane->isFloating());
    for (QToolBar *bar : form.findChildren<QToolBar *>())
        seen
            << QStringLiteral("bar %1 %2 %3").arg(bar->windowTitle()).arg(bar->isVisible()).arg(bar->toolButtonStyle());
    const auto *pages = form.findChild<QTabWidget *>();
    seen << QStringLiteral("pages %1 at %2 on side %3")
                .arg(pages->count())
                .arg(pages->currentIndex())
                .arg(pages->tabPosition());
    for (int page = 0; page < pages->count(); ++page) seen << QStringLiteral("page ") + pages->tabText(page);
    for (QAction *action : form.findChildren<QAction *>())
        if (action->isCheckable()) seen << QStringLiteral("checked %1 %2").arg(action->text()).arg(action->isChecked());
    if (const QMimeData *clipboard = QApplication::clipboard()->mimeData())
        seen << QStringLiteral("clipboard ") + clipboard->formats().join(QLatin1Char(',')) + clipboard->text();
    QAbstractItemView &tasks = form.taskList().shownView();
    seen << QStringLiteral("task view ") + tasks.metaObject()->className();
    seen += rowsOf(form.taskList().model());
    seen += rowsOf(*form.folderTree().model());
    for (QLineEdit *field : form.findChildren<QLineEdit *>())
        if (field->isVisible()) seen << QStringLiteral("field in ") + field->parentWidget()->metaObject()->className();
    for (QTreeWidgetItemIterator item(&form.folderTree()); *item; ++item)
        seen << QStringLiteral("folder %1 %2").arg((*item)->text(0)).arg((*item)->isExpanded());
    if (QWidget *focus = QApplication::focusWidget())
        seen << QStringLiteral("focus ") + focus->metaObject()->className();
    return seen;
}

QString differences(const QStringList &before, const QStringList &after) {
    QStringList changed;
    for (const QString &line : after)
        if (!before.contains(line)) changed << line;
    for (const QString &line : before)
        if (!after.contains(line)) changed << QStringLiteral("no more ") + line;
    return changed.join(QStringLiteral("; "));
}

using Reasons = QHash<QString, const char *>;

}  // namespace

class MenuWalkTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::Crawled, GuiFixture::Server::Stopped); }
    void cleanup() { fixture_.tearDown(); }

    void withoutAProjectEveryCommandActsOrSaysWhyNot();
    void onTheTaskListEveryCommandActsOrSaysWhyNot();
    void onABrowserPageEveryCommandActsOrSaysWhyNot();
    void everyToolbarCommandIsAlsoInTheMenus();
    void theKeysReachTheirCommands();
    void closeAndExitEndTheProjectAndTheWindow();

private:
    // Puts the window back as the walk found it: the same page and folder,
    // the first task selected, no page or window opened since, no name being
    // edited, an empty clipboard.
    void restore();
    // Triggers each reachable command from the same starting point and
    // checks that it shows something; each one that cannot be reached must
    // be in the reasons, and each in the reasons must be unreachable. The
    // commands in front choose what is already chosen, and are not triggered.
    void walk(const Reasons &unreachable, const QStringList &inFront = {});

    int page_ = 0;
    int pages_ = 1;
    uint32_t baseFolder_ = 0;
    // Opens again the page the walk started on, when a command closed it.
    std::function<void()> reopen_;
};

// Commands whose effect ends the walk; each is checked on its own.
const QStringList kEnding = {QStringLiteral("File/Close"), QStringLiteral("File/Exit")};

void MenuWalkTest::restore() {
    auto *pages = form().findChild<QTabWidget *>();
    if (pages->count() < pages_) reopen_();
    while (pages->count() > pages_) {
        QPointer<QWidget> page = pages->widget(pages->count() - 1);
        page->close();
        QTRY_VERIFY(page.isNull());
    }
    pages->setCurrentIndex(page_);
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != &form() && window->isVisible() && !qobject_cast<QMenu *>(window)) window->close();
    // Names being edited in the lists are given up.
    for (QLineEdit *editor : form().findChildren<QLineEdit *>())
        if (editor->isVisible() && editor->parentWidget()->parentWidget()->inherits("QAbstractItemView"))
            QTest::keyClick(editor, Qt::Key_Escape);
    QApplication::clipboard()->clear();
    if (baseFolder_) form().folderTree().selectFolder(baseFolder_);
    // Folded, all but the way to the selected folder: there is something for Expand All to do.
    form().folderTree().collapseAll();
    if (QTreeWidgetItem *folder = form().folderTree().currentItem()) form().folderTree().scrollToItem(folder);
    if (form().project().active() && form().taskList().model().rowCount() > 0) {
        form().taskList().selectTask(form().taskList().model().row(0).id);
        form().taskList().shownView().setFocus();
    }
    QApplication::processEvents();
}

void MenuWalkTest::walk(const Reasons &unreachable, const QStringList &inFront) {
    DialogRefuser refuser;
    auto *pages = form().findChild<QTabWidget *>();
    page_ = pages->currentIndex();
    pages_ = pages->count();
    baseFolder_ = form().folderTree().selectedFolder();
    form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
    QStringList paths;
    for (const Command &command : menuCommands(form())) paths << command.path;
    QStringList faults;
    int acted = 0;
    for (const QString &path : std::as_const(paths)) {
        restore();
        // Looked up afresh: menus of open windows are rebuilt as windows come and go.
        const QList<Command> commands = menuCommands(form());
        const auto found = std::find_if(commands.begin(), commands.end(),
                                        [&path](const Command &command) { return command.path == path; });
        if (found == commands.end() || underClosedMenu(commands, path)) continue;
        QAction *action = found->action;
        if (!action->isEnabled() || !action->isVisible()) {
            const QString all = path.left(path.lastIndexOf(QLatin1Char('/')) + 1) + QLatin1Char('*');
            if (!unreachable.contains(path) && !unreachable.contains(all))
                faults << path + QStringLiteral(": disabled or hidden for no stated reason");
            continue;
        }
        if (unreachable.contains(path)) {
            faults << path + QStringLiteral(": can be used, though \"") + unreachable[path] + QStringLiteral("\"");
            continue;
        }
        if (action->menu() || kEnding.contains(path)) continue;
        // Choosing again the one choice of a group that is in effect, or the window in front, changes nothing.
        if ((action->isChecked() && action->actionGroup() && action->actionGroup()->isExclusive()) ||
            inFront.contains(path))
            continue;
        const QStringList before = appearance(form());
        refuser.take();
        QElapsedTimer took;
        took.start();
        action->trigger();
        QTest::qWait(100);  // dialogs open from a timer; pages load
        const QStringList opened = refuser.take();
        const QString changed = differences(before, appearance(form()));
        if (opened.isEmpty() && changed.isEmpty())
            faults << path + QStringLiteral(": nothing happened");
        else
            ++acted;
        qDebug().noquote() << path << took.elapsed() << "ms ->"
                           << (opened + QStringList{changed}).join(QStringLiteral("; ")).left(200);
    }
    restore();
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    QVERIFY(acted > 10);
}

namespace {

// The same reason for each of the commands.
Reasons because(const char *reason, const QStringList &paths) {
    Reasons reasons;
    for (const QString &path : paths) reasons.insert(path, reason);
    return reasons;
}

Reasons operator+(Reasons reasons, const Reasons &more) {
    reasons.insert(more);
    return reasons;
}

// With the task list in front and nothing opened beside it.
const Reasons kOnlyTheTaskList =
    because("the first page cannot be closed or undocked",
            {QStringLiteral("View/Close Active Page"), QStringLiteral("View/Undock Active Page")}) +
    because("no page tab was right-clicked", {QStringLiteral("View/Close Page"), QStringLiteral("View/Undock Page")}) +
    because("hidden while no window of the kind is open",
            {QStringLiteral("View/Opened Browsers"), QStringLiteral("View/Task Files"),
             QStringLiteral("View/Search Results"), QStringLiteral("View/Web Structures")}) +
    because("the clipboard holds nothing to paste",
            {QStringLiteral("Edit/Paste"), QStringLiteral("Tasks/Paste"), QStringLiteral("Folders/Paste")});

// The folder a project opens on.
const Reasons kRootSelected = because("the root folder cannot be deleted or moved",
                                      {QStringLiteral("Folders/Delete"), QStringLiteral("Folders/Cut")});

}  // namespace

void MenuWalkTest::withoutAProjectEveryCommandActsOrSaysWhyNot() {
    fixture_.setUp(GuiFixture::Window::Empty);
    walk(
        kOnlyTheTaskList + because("hidden while no project was opened before", {QStringLiteral("File/Reopen")}) +
        because(
            "needs an open project",
            {QStringLiteral("File/Close"), QStringLiteral("File/Clear"), QStringLiteral("File/Export"),
             QStringLiteral("File/Import Favorites"), QStringLiteral("File/Import Favorites Folder"),
             QStringLiteral("Project/Go Online"), QStringLiteral("Project/Refresh Project"),
             QStringLiteral("Project/Browse"), QStringLiteral("Project/Properties"), QStringLiteral("Project/Report"),
             QStringLiteral("Search/Search"), QStringLiteral("Search/Search All Errors"),
             QStringLiteral("Search/Search All Queued"), QStringLiteral("Search/Search All Success")}) +
        because("no task is listed to act on",
                {QStringLiteral("Edit/Cut"), QStringLiteral("Edit/Copy"), QStringLiteral("Edit/Delete"),
                 QStringLiteral("Tasks/Open"), QStringLiteral("Tasks/Open in New Window"), QStringLiteral("Tasks/List"),
                 QStringLiteral("Tasks/Up"), QStringLiteral("Tasks/Down"), QStringLiteral("Tasks/Run Task"),
                 QStringLiteral("Tasks/Stop Task"), QStringLiteral("Tasks/Refresh"), QStringLiteral("Tasks/Cut"),
                 QStringLiteral("Tasks/Copy"), QStringLiteral("Tasks/Delete"), QStringLiteral("Tasks/Properties"),
                 QStringLiteral("Tasks/Rename"), QStringLiteral("Tasks/Website Structure"),
                 QStringLiteral("Tasks/Save Task(s) As ..."), QStringLiteral("Tasks/Report")}) +
        because("no folder is selected to make tasks or folders in, or to act on",
                {QStringLiteral("Tasks/New Task"), QStringLiteral("Tasks/Import Tasks"),
                 QStringLiteral("Folders/New Folder"), QStringLiteral("Folders/Rename"),
                 QStringLiteral("Folders/Delete"), QStringLiteral("Folders/Properties"),
                 QStringLiteral("Folders/Expand All"), QStringLiteral("Folders/Cut")}) +
        because("fewer than two tasks to sort", {QStringLiteral("Tasks/Sort by/*")}));
}

void MenuWalkTest::onTheTaskListEveryCommandActsOrSaysWhyNot() {
    fixture_.setUp();
    walk(kOnlyTheTaskList +
         because("the project's one task cannot move", {QStringLiteral("Tasks/Up"), QStringLiteral("Tasks/Down")}) +
         because("fewer than two tasks to sort", {QStringLiteral("Tasks/Sort by/*")}) +
         because("the selected task is done: Refresh runs it again", {QStringLiteral("Tasks/Run Task")}) +
         because("the selected task is not queued", {QStringLiteral("Tasks/Stop Task")}) + kRootSelected);
}

void MenuWalkTest::onABrowserPageEveryCommandActsOrSaysWhyNot() {
    fixture_.setUp();
    reopen_ = [this] { fixture_.showInBrowser(url(QStringLiteral("/index.html"))); };
    reopen_();
    walk(because("the task commands act on the task list, the first page", {QStringLiteral("Tasks")}) +
             because("no page tab was right-clicked",
                     {QStringLiteral("View/Close Page"), QStringLiteral("View/Undock Page")}) +
             because("hidden while no window of the kind is open",
                     {QStringLiteral("View/Task Files"), QStringLiteral("View/Search Results"),
                      QStringLiteral("View/Web Structures")}) +
             because("the clipboard holds nothing to paste",
                     {QStringLiteral("Edit/Paste"), QStringLiteral("Folders/Paste")}) +
             because("the selected task is done: Refresh runs it again", {QStringLiteral("Tasks/Run Task")}) +
             kRootSelected,
         {QStringLiteral("Project/Browse/(Default) Test site"),
          QStringLiteral("View/Opened Browsers/(Default) Test site")});
    auto *taskButton = form().findChild<QToolButton *>(QStringLiteral("taskMenuButton"));
    QVERIFY(!taskButton->isEnabled());
    form().findChild<QTabWidget *>()->setCurrentIndex(0);
    QVERIFY(taskButton->isEnabled());
}

void MenuWalkTest::theKeysReachTheirCommands() {
    fixture_.setUp();
    auto *pages = form().findChild<QTabWidget *>();
    QAbstractItemView &tasks = form().taskList().shownView();
    form().taskList().selectTask(form().taskList().model().row(0).id);
    tasks.setFocus();
    QApplication::clipboard()->clear();
    QTest::keyClick(&tasks, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(!QApplication::clipboard()->mimeData()->formats().isEmpty());

    form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
    QTest::keyClick(&form(), Qt::Key_F1);
    QTRY_COMPARE(pages->count(), 2);  // the help, in a page of its own
    QPointer<QWidget> help = pages->currentWidget();
    form().activateWindow();  // the new page took the activation (there is no window manager here)
    QVERIFY(QTest::qWaitForWindowActive(&form()));
    QTest::keyClick(pages->tabBar(), Qt::Key_F4, Qt::ControlModifier);
    QTRY_VERIFY(help.isNull());
    QCOMPARE(pages->count(), 1);
}

void MenuWalkTest::everyToolbarCommandIsAlsoInTheMenus() {
    fixture_.setUp();
    QList<QAction *> inMenus;
    for (const Command &command : menuCommands(form())) inMenus << command.action;
    // The address bar's own command acts on its fields, beside which it stands.
    const QStringList ownCommands = {QStringLiteral("acGet")};
    // A drop-down button of a whole menu counts as that menu.
    const auto inAMenu = [&inMenus](QAction *action, QWidget *button) {
        const auto *menuButton = qobject_cast<QToolButton *>(button);
        QMenu *menu = menuButton && menuButton->menu() ? menuButton->menu() : action->menu();
        return std::any_of(inMenus.begin(), inMenus.end(), [action, menu](QAction *entry) {
            return entry == action || (menu && entry->menu() == menu);
        });
    };
    for (QToolBar *bar : form().findChildren<QToolBar *>(QString(), Qt::FindDirectChildrenOnly))
        for (QAction *action : bar->actions()) {
            QWidget *shown = bar->widgetForAction(action);
            if (!action->isSeparator() && !shown->inherits("QLineEdit") && !shown->inherits("QSpinBox") &&
                !ownCommands.contains(action->objectName()))
                QVERIFY2(inAMenu(action, shown),
                         qPrintable(bar->windowTitle() + QLatin1Char('/') + shown->objectName()));
        }
}

void MenuWalkTest::closeAndExitEndTheProjectAndTheWindow() {
    fixture_.setUp();
    for (const Command &command : menuCommands(form()))
        if (command.path == kEnding[0]) command.action->trigger();
    QVERIFY(!form().project().active());
    QCOMPARE(form().windowTitle(), QStringLiteral("Sitelark"));
    for (const Command &command : menuCommands(form()))
        if (command.path == kEnding[1]) command.action->trigger();
    QTRY_VERIFY(!form().isVisible());
}

SITELARK_GUI_TEST_MAIN(MenuWalkTest)
#include "MenuWalkTest.moc"
