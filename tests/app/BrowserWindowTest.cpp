// Browser windows over the crawled site, its server stopped: the status
// line's progress, docking, the source view, windows that scripts open and
// move, and help in a window of its own.

#include <QAction>
#include <QDateTime>
#include <QPointer>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QWebEngineView>

#include "BrowserForm.h"
#include "BrowserPage.h"
#include "DownloadProgress.h"
#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "KestProject.h"
#include "MainForm.h"
#include "PageScripts.h"
#include "ProgressPanel.h"

using namespace gui_test;

class BrowserWindowTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::Crawled, GuiFixture::Server::Stopped); }
    void init();
    void cleanup() { fixture_.tearDown(); }

    void onlyTheShownPagesProgressFillsItsStatusLine();
    void aBrowserWindowUndocksAndDocksAgain();
    void viewSourceShowsTheStoredPagesHtml();
    void scriptsOpenAndMoveWindowsOnlyAsTheOptionsAllow();
    void helpOpensInABrowserWindowOfItsOwn();
    void browserWindowsCloseWithTheProject();

private:
    QTabWidget *tabs() const { return form().findChild<QTabWidget *>(); }
};

// Each test starts with the start page in the default browser, a page of the main window.
void BrowserWindowTest::init() {
    fixture_.setUp();
    fixture_.showInBrowser(url(QStringLiteral("/index.html")));
}

void BrowserWindowTest::onlyTheShownPagesProgressFillsItsStatusLine() {
    const QString shown = url(QStringLiteral("/index.html")), other = url(QStringLiteral("/page2.html"));
    DownloadProgress progress;
    progress.received = 50;
    progress.contentLength = 200;
    const auto send = [&](uint8_t state, const QString &address, bool posted) {
        progress.state = state;
        progress.url = address;
        progress.posted = posted;
        emit form().project().downloadProgress(progress);
    };
    send(ENG_DOWNLOAD_RECEIVING, shown, false);
    QCOMPARE(browser()->statusText(), QStringLiteral("Reading, 50 of 200, ") + shown);
    QCOMPARE(browser()->progressPanel()->percent(), 25);
    progress.received = 150;
    send(ENG_DOWNLOAD_RECEIVING, other, false);
    send(ENG_DOWNLOAD_RECEIVING, shown, true);
    QCOMPARE(browser()->progressPanel()->percent(), 25);
    progress.contentLength = 0;  // unknown length: measured against twice what came, and 2
    send(ENG_DOWNLOAD_FINISHED, shown, false);
    QCOMPARE(browser()->progressPanel()->percent(), 50);
    QCOMPARE(browser()->statusText(), QStringLiteral("Retrieved, 150, ") + shown);
}

void BrowserWindowTest::aBrowserWindowUndocksAndDocksAgain() {
    BrowserForm *browser = this->browser();
    QVERIFY(browser->docked());
    const auto dockToggle = [&] {
        for (QAction *action : browser->findChildren<QAction *>())
            if (action->text() == QStringLiteral("Dock/Undock")) return action->trigger();
        QFAIL("no Dock/Undock command");
    };
    dockToggle();
    QVERIFY(!browser->docked());
    QVERIFY(browser->isVisible());
    QCOMPARE(browser->windowTitle(), QStringLiteral("(Default) Test site"));
    QCOMPARE(tabs()->indexOf(browser), -1);
    QVERIFY(bodyText(browser->page()).contains(QStringLiteral("Welcome to the test site")));
    dockToggle();
    QVERIFY(browser->docked());
    QCOMPARE(tabs()->currentWidget(), browser);
    QCOMPARE(tabs()->tabText(tabs()->currentIndex()), QStringLiteral("(Default) Test site"));
}

void BrowserWindowTest::viewSourceShowsTheStoredPagesHtml() {
    const int pages = tabs()->count();
    browser()->view()->pageAction(QWebEnginePage::ViewSource)->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(tabs()->count(), pages + 1, 10000);
    auto *source = qobject_cast<BrowserForm *>(tabs()->widget(pages));
    QVERIFY(source);
    QTRY_VERIFY_WITH_TIMEOUT(bodyText(source->page()).contains(QStringLiteral("<h1>Welcome to the test site</h1>")),
                             10000);
}

void BrowserWindowTest::scriptsOpenAndMoveWindowsOnlyAsTheOptionsAllow() {
    const int pages = tabs()->count();
    const QString popup =
        QStringLiteral("window.open('kiv:0:01-01-2026-00-00-00:0:%1', '_blank', 'width=300,height=200')")
            .arg(url(QStringLiteral("/page2.html")));
    form().options().allowOpenInNewWin = false;
    evaluate(browser()->page(), popup + QStringLiteral("; true"));
    QTest::qWait(300);
    QCOMPARE(tabs()->count(), pages);

    form().options().allowOpenInNewWin = true;
    evaluate(browser()->page(), QStringLiteral("window.popup = ") + popup + QStringLiteral("; true"));
    QTRY_COMPARE_WITH_TIMEOUT(tabs()->count(), pages + 1, 10000);
    auto *opened = qobject_cast<BrowserForm *>(tabs()->widget(pages));
    QVERIFY(opened);  // docked as its opener is
    QTRY_VERIFY_WITH_TIMEOUT(bodyText(opened->page()).contains(QStringLiteral("This is the second page.")), 10000);

    // Docked, a script's resize is kept until the options let it undock the window.
    evaluate(opened->page(), QStringLiteral("window.resizeTo(420, 330); true"));
    QTest::qWait(300);
    QVERIFY(opened->docked());
    form().options().autoUnDock = true;
    evaluate(opened->page(), QStringLiteral("window.resizeTo(420, 330); true"));
    QTRY_VERIFY_WITH_TIMEOUT(!opened->docked(), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(opened->view()->size(), QSize(420, 330), 5000);
}

void BrowserWindowTest::helpOpensInABrowserWindowOfItsOwn() {
    fixture_.triggerMenuCommand(QStringLiteral("Contents and Index"));
    auto *help = qobject_cast<BrowserForm *>(tabs()->currentWidget());
    QVERIFY(help && help != browser());
    QWebEnginePage *page = help->page();
    QTRY_VERIFY_WITH_TIMEOUT(bodyText(page).contains(QStringLiteral("Sitelark Help")), 10000);
    QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
    evaluate(page, QStringLiteral("document.querySelector('a[href=\"tasks.html\"]').click(); true"));
    QVERIFY(loaded.wait(10000));
    QCOMPARE(page->url(), QUrl(QStringLiteral("qzinfo://help/source/tasks.html")));
    QVERIFY(bodyText(page).contains(QStringLiteral("Ways to create a task")));
    QCOMPARE(evaluate(page, QStringLiteral("getComputedStyle(document.querySelector('h1')).borderBottomStyle")),
             QVariant(QStringLiteral("solid")));  // the style sheet came too
}

void BrowserWindowTest::browserWindowsCloseWithTheProject() {
    const QPointer<BrowserForm> docked = browser();
    form().openBrowser(url(QStringLiteral("/page2.html")), 0, QDateTime::currentDateTime(), true);
    QCOMPARE(tabs()->count(), 3);
    const QPointer<BrowserForm> undocked = qobject_cast<BrowserForm *>(tabs()->widget(2));
    emit undocked->dockToggleRequested();
    QVERIFY(!undocked->docked());
    form().project().setActive(false);
    QTRY_VERIFY_WITH_TIMEOUT(docked.isNull() && undocked.isNull(), 5000);
    QCOMPARE(tabs()->count(), 1);  // the project page stays
}

SITELARK_GUI_TEST_MAIN(BrowserWindowTest)

#include "BrowserWindowTest.moc"
