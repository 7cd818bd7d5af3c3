// The program's own pages against stored web content, over the crawled site
// with its server stopped: a stored page cannot use the scripting object, a
// status page's link goes online, and only the program's pages choose what
// the filter test tests.

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

#include "BrowserForm.h"
#include "BrowserPage.h"
#include "FilterTestSubject.h"
#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "MainForm.h"
#include "PageScripts.h"

using namespace gui_test;

class ProgramPagesTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::Crawled, GuiFixture::Server::Stopped); }
    void init();
    void cleanup() { fixture_.tearDown(); }

    void aStoredPageCannotUseTheScriptingObject();
    void aMissingPageShowsAStatusPageWhoseLinkGoesOnline();
    void theProgramsOwnPagesChooseWhatTheFilterTestTests();
};

void ProgramPagesTest::init() {
    fixture_.setUp();
    // What the filter test tests before any page chose: the program's start values.
    FilterTestSubject::instance().setAddress(QStringLiteral("http://"));
    FilterTestSubject::instance().chooseKind(0);
}

void ProgramPagesTest::aStoredPageCannotUseTheScriptingObject() {
    // A deletion would say so in a box: note any box that opens, and close it.
    bool boxOpened = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            boxOpened = true;
            box->close();
        }
    });
    watch.start(50);
    QWebEnginePage *page = fixture_.showInBrowser(url(QStringLiteral("/evil.html")));
    // The script reached the object (it read its id) and asked it to delete.
    QTRY_COMPARE_WITH_TIMEOUT(page->title(), QStringLiteral("tried Quenmar"), 10000);
    // Nor while it leaves for a page that the program answers itself.
    fixture_.showInBrowser(url(QStringLiteral("/leaving.html")));
    QTRY_VERIFY_WITH_TIMEOUT(bodyText(page).contains(QStringLiteral("The server could not be reached")), 10000);
    QVERIFY(browser()->page()->ownPage());
    QTest::qWait(300);
    QVERIFY(!boxOpened);
    for (const char *path : {"/index.html", "/page2.html", "/images/logo.png", "/evil.html"})
        QVERIFY2(stored(url(QString::fromLatin1(path))), path);
}

void ProgramPagesTest::aMissingPageShowsAStatusPageWhoseLinkGoesOnline() {
    QVERIFY(!form().project().running());
    QWebEnginePage *page = fixture_.showInBrowser(url(QStringLiteral("/missing.html")));
    QVERIFY(bodyText(page).contains(QStringLiteral("The page is queued")));
    QVERIFY(browser()->page()->ownPage());
    screenshot(browser()->view(), QStringLiteral("status-page.png"));
    QTRY_VERIFY_WITH_TIMEOUT(evaluate(page, QStringLiteral("!!(window.external && window.external.GoOnline)")).toBool(),
                             10000);
    evaluate(page, QStringLiteral("document.querySelector('a[href^=\"javascript:GoOnline\"]').click(); true"));
    QTRY_VERIFY_WITH_TIMEOUT(form().project().running(), 10000);
}

void ProgramPagesTest::theProgramsOwnPagesChooseWhatTheFilterTestTests() {
    FilterTestSubject &subject = FilterTestSubject::instance();
    QWebEnginePage *page = fixture_.showInBrowser(url(QStringLiteral("/evil.html")));  // stored content first
    QTRY_COMPARE_WITH_TIMEOUT(page->title(), QStringLiteral("tried Quenmar"), 10000);
    evaluate(page,
             QStringLiteral("window.external.TestUrl('http://stored.test/'); window.external.SetTestMask(3); true"));
    QTest::qWait(300);  // the calls have arrived
    browser()->navigate(QUrl(QStringLiteral("qzinfo://testpage/")));
    QTRY_VERIFY_WITH_TIMEOUT(browser()->page()->ownPage(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(bodyText(page), QStringLiteral("Ok"), 10000);  // the built-in test page
    QTRY_VERIFY_WITH_TIMEOUT(evaluate(page, QStringLiteral("!!(window.external && window.external.TestUrl)")).toBool(),
                             10000);
    QCOMPARE(subject.address(), QStringLiteral("http://"));  // the stored page changed nothing
    QCOMPARE(subject.kind(), 0);
    evaluate(page, QStringLiteral("window.external.TestUrl('http://h/x.gif'); window.external.SetTestMask(1); true"));
    QTRY_COMPARE_WITH_TIMEOUT(subject.address(), QStringLiteral("http://h/x.gif"), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(subject.kind(), 1, 5000);
}

SITELARK_GUI_TEST_MAIN(ProgramPagesTest)

#include "ProgramPagesTest.moc"
