// The main window's pages: undocking and docking them, closing the active
// page or the one whose tab was right-clicked, the submenus of open windows,
// the tabs' side kept between runs, and toolbar labels.

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include "BrowserForm.h"
#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "MainForm.h"
#include "views/TaskListFrame.h"

using namespace gui_test;

class MainWindowTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::Crawled, GuiFixture::Server::Stopped); }
    void init() { fixture_.setUp(); }
    void cleanup() { fixture_.tearDown(); }

    void theActivePageUndocksAndIsListedByItsCaption();
    void aRightClickedTabIsTheOneClosed();
    void theTabsSideIsKeptBetweenRuns();
    void toolbarLabelsCanBeHidden();
    void theViewStyleReachesTheTaskList();
    void showFoldersBringsTheTaskListForward();
    void theBrowseButtonListsBrowsersAndLaunchesOne();

private:
    QTabWidget *tabs() const { return form().findChild<QTabWidget *>(); }
    QAction *command(const QString &name) const { return form().findChild<QAction *>(name); }
    QMenu *browserMenu() const {
        QAction *menu = command(QStringLiteral("windowMenu0"));
        return menu ? menu->menu() : nullptr;
    }
};

void MainWindowTest::theActivePageUndocksAndIsListedByItsCaption() {
    QVERIFY(!command(QStringLiteral("acUnDockActivePage"))->isEnabled());  // on the task list
    QVERIFY(!command(QStringLiteral("acCloseActivePage"))->isEnabled());
    QVERIFY(!browserMenu()->menuAction()->isVisible());  // no browser open

    fixture_.showInBrowser(url(QStringLiteral("/index.html")));
    QPointer<BrowserForm> shown = browser();
    QCOMPARE(tabs()->currentWidget(), shown.data());
    QVERIFY(command(QStringLiteral("acUnDockActivePage"))->isEnabled());
    QVERIFY(browserMenu()->menuAction()->isVisible());
    QCOMPARE(browserMenu()->actions().size(), 1);
    QCOMPARE(browserMenu()->actions().first()->text(), shown->windowTitle());
    QCOMPARE(tabs()->tabText(1), shown->windowTitle().left(40));

    command(QStringLiteral("acUnDockActivePage"))->trigger();
    QVERIFY(shown->isWindow());
    QCOMPARE(tabs()->count(), 1);
    QVERIFY(!command(QStringLiteral("acCloseActivePage"))->isEnabled());
    // Still listed: choosing it brings the free window to the front.
    QCOMPARE(browserMenu()->actions().size(), 1);
    shown->showMinimized();
    browserMenu()->actions().first()->trigger();
    QTRY_VERIFY(!shown->isMinimized());

    shown->close();
    QTRY_VERIFY(shown.isNull());
    QVERIFY(!browserMenu()->menuAction()->isVisible());
}

void MainWindowTest::aRightClickedTabIsTheOneClosed() {
    fixture_.showInBrowser(url(QStringLiteral("/index.html")));
    QPointer<BrowserForm> first = browser();
    BrowserForm *second = form().openBrowser(url(QStringLiteral("/page2.html")), 0, QDateTime::currentDateTime(), true);
    QCOMPARE(tabs()->count(), 3);
    QCOMPARE(tabs()->currentWidget(), second);
    QVERIFY(!command(QStringLiteral("acClosePage"))->isEnabled());  // no tab clicked yet

    // Clicking the first page's tab names no page: the task list stays.
    QTabBar *strip = tabs()->tabBar();
    QTest::mouseClick(strip, Qt::RightButton, {}, strip->tabRect(0).center());
    QVERIFY(!command(QStringLiteral("acClosePage"))->isEnabled());
    QTest::mouseClick(strip, Qt::RightButton, {}, strip->tabRect(1).center());
    QVERIFY(command(QStringLiteral("acClosePage"))->isEnabled());
    command(QStringLiteral("acClosePage"))->trigger();
    QTRY_VERIFY(first.isNull());
    QCOMPARE(tabs()->count(), 2);
    QCOMPARE(tabs()->widget(1), second);
    QVERIFY(!command(QStringLiteral("acClosePage"))->isEnabled());
}

void MainWindowTest::theTabsSideIsKeptBetweenRuns() {
    QAction *left = command(QStringLiteral("acTabPosLeft"));
    QVERIFY(command(QStringLiteral("acTabPosTop"))->isChecked());
    left->trigger();
    QCOMPARE(tabs()->tabPosition(), QTabWidget::West);
    QVERIFY(left->isChecked());
    QVERIFY(!command(QStringLiteral("acTabPosTop"))->isChecked());

    fixture_.closeForm();
    MainForm again({QStringLiteral("Sitelark")});
    QCOMPARE(again.findChild<QTabWidget *>()->tabPosition(), QTabWidget::West);
    QVERIFY(again.findChild<QAction *>(QStringLiteral("acTabPosLeft"))->isChecked());
}

void MainWindowTest::toolbarLabelsCanBeHidden() {
    QToolBar *bar = nullptr;
    for (QToolBar *candidate : form().findChildren<QToolBar *>())
        if (candidate->windowTitle() == QStringLiteral("Main")) bar = candidate;
    QVERIFY(bar);
    QAction *labels = command(QStringLiteral("acShowToolBarCaptions"));
    QVERIFY(labels->isChecked());
    QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    screenshot(&form(), QStringLiteral("main-window-labels.png"));
    labels->trigger();
    QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    for (QToolBar *each : form().findChildren<QToolBar *>()) QCOMPARE(each->toolButtonStyle(), Qt::ToolButtonIconOnly);
    // Every button of the bar still has a picture to show.
    for (QAction *button : bar->actions()) QVERIFY2(!button->icon().isNull(), qPrintable(button->text()));
}

void MainWindowTest::theViewStyleReachesTheTaskList() {
    QSignalSpy chosen(&form(), &MainForm::viewStyleChanged);
    QVERIFY(command(QStringLiteral("acViewDetails"))->isChecked());
    command(QStringLiteral("acViewList"))->trigger();
    QCOMPARE(form().options().viewStyle, 2);
    QVERIFY(form().taskList().command(QStringLiteral("acViewsList"))->isChecked());
    QCOMPARE(chosen.size(), 1);
    // "Views" goes round: after Details comes Large Icon.
    command(QStringLiteral("acViews"))->trigger();
    QVERIFY(command(QStringLiteral("acViewDetails"))->isChecked());
    command(QStringLiteral("acViews"))->trigger();
    QVERIFY(command(QStringLiteral("acViewIcon"))->isChecked());
    QVERIFY(form().taskList().command(QStringLiteral("acViewsIcon"))->isChecked());
    QCOMPARE(chosen.last().first().toInt(), 0);
}

void MainWindowTest::showFoldersBringsTheTaskListForward() {
    fixture_.showInBrowser(url(QStringLiteral("/index.html")));
    auto *folders = form().findChild<QDockWidget *>(QStringLiteral("foldersWindow"));
    command(QStringLiteral("acShowFolders"))->trigger();  // the toggle hides them
    QVERIFY(!folders->isVisible());
    QCOMPARE(tabs()->currentIndex(), 1);
    command(QStringLiteral("acShowFoldersArr"))->trigger();
    QVERIFY(folders->isVisible());
    QCOMPARE(tabs()->currentIndex(), 0);
}

void MainWindowTest::theBrowseButtonListsBrowsersAndLaunchesOne() {
    fixture_.showInBrowser(url(QStringLiteral("/index.html")));
    QMenu *dropDown = command(QStringLiteral("acShowBrowser"))->menu();
    QVERIFY(dropDown);
    emit dropDown->aboutToShow();
    const QList<QAction *> entries = dropDown->actions();
    QCOMPARE(entries.size(), 3);  // the browser, a separator, "Launch Browser"
    QCOMPARE(entries.first()->text(), browser()->windowTitle());
    QCOMPARE(entries.last()->text(), QStringLiteral("Launch Browser"));
    entries.last()->trigger();
    QCOMPARE(tabs()->count(), 3);
}

SITELARK_GUI_TEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
