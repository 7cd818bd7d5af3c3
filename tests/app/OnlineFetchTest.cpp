// Pages fetched while the project is online and shown in the embedded
// browser: a page that failed fetched again, a status page's refresh, and a
// form posted from a stored page, and its answer opened again from the
// task's files.

#include <functional>

#include <QAction>
#include <QDateTime>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

#include "BrowserForm.h"
#include "BrowserPage.h"
#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "GuiTestSite.h"
#include "MainForm.h"
#include "PageScripts.h"
#include "StoredResource.h"
#include "TaskCreation.h"
#include "items/ItemListFrame.h"
#include "items/ItemListModel.h"
#include "items/ItemWindow.h"
#include "support/NginxServer.h"
#include "support/ScriptedHttpServer.h"
#include "support/TempDir.h"

using namespace gui_test;

class OnlineFetchTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::Empty); }
    void init();
    void cleanup() { fixture_.tearDown(); }

    void refreshFetchesAgainAPageThatFailedWhereRetrievingShowsTheStore();
    void aStatusPagesRefreshShowsThePageOnceTheServerAnswers();
    void aFormPostedFromAStoredPageReachesTheServerWithItsBody();
};

void OnlineFetchTest::init() {
    fixture_.setUp();
    fixture_.project().setRunning(true);
}

void OnlineFetchTest::refreshFetchesAgainAPageThatFailedWhereRetrievingShowsTheStore() {
    test::TempDir folder;
    test::NginxServer server(folder.path());
    const QString address = QString::fromStdString(server.url("/later.html"));
    QVERIFY(fixture_.project().createTask(address, 0, kRootFolder) > 0);
    QTRY_VERIFY_WITH_TIMEOUT(stored(address), 20000);
    QVERIFY(storedResource(address)->failed);  // not there yet: 404
    writeFile(folder.path() / "later.html", "<html><body>Here at last</body></html>");

    QWebEnginePage *page = fixture_.showInBrowser(address);
    BrowserForm *browser = fixture_.browser();
    QVERIFY(bodyText(page).contains(QStringLiteral("404 Not Found")));
    const auto shows = [&](QWebEnginePage *page, const std::function<void()> &navigate) {
        QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
        navigate();
        if (!loaded.wait(20000)) QTest::qFail("the page did not load", __FILE__, __LINE__);
        return bodyText(page);
    };
    // Neither a navigation nor retrieving the page from the store goes to the server.
    QVERIFY(shows(page, [&] {
                browser->open(address, 0, QDateTime::currentDateTime());
            }).contains(QStringLiteral("404 Not Found")));
    QVERIFY(shows(page, [&] {
                for (QAction *action : browser->findChildren<QAction *>())
                    if (action->text() == QStringLiteral("Retrieve page from database")) action->trigger();
            }).contains(QStringLiteral("404 Not Found")));
    QVERIFY(server.waitForAccessLog(1, std::chrono::milliseconds(5000)));
    QCOMPARE(server.accessLog().size(), size_t{1});
    // The browser's Refresh fetches it again, and the project keeps the new copy.
    QCOMPARE(shows(page, [&] { browser->view()->pageAction(QWebEnginePage::Reload)->trigger(); }),
             QStringLiteral("Here at last"));
    QCOMPARE(server.accessLog().size(), size_t{2});
    QVERIFY(!storedResource(address)->failed);
    screenshot(browser, QStringLiteral("refreshed-page.png"));
}

void OnlineFetchTest::aStatusPagesRefreshShowsThePageOnceTheServerAnswers() {
    test::ScriptedHttpServer server;
    const QString address = QString::fromStdString(server.url("/flaky.html"));
    for (int attempt = 0; attempt <= fixture_.project().properties().retries; ++attempt)
        server.answer("");  // the connection closes without an answer
    QVERIFY(fixture_.project().createTask(address, 0, kRootFolder) > 0);
    QTRY_VERIFY_WITH_TIMEOUT(stored(address), 20000);
    QWebEnginePage *page = fixture_.showInBrowser(address);
    QVERIFY(bodyText(page).contains(QStringLiteral("The server could not be reached")));

    server.answer(
        test::httpResponse(200, "OK", "<html><body>The server is back</body></html>", {"Content-Type: text/html"}));
    QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
    evaluate(page, QStringLiteral("document.querySelectorAll('a[href=\"javascript:location.reload()\"]')[0].click();"
                                  " true"));
    QVERIFY(loaded.wait(20000));
    QCOMPARE(bodyText(page), QStringLiteral("The server is back"));
    QVERIFY(!storedResource(address)->failed);
}

void OnlineFetchTest::aFormPostedFromAStoredPageReachesTheServerWithItsBody() {
    test::ScriptedHttpServer server;
    const QString address = QString::fromStdString(server.url("/form.html"));
    server.answer(test::httpResponse(
        200, "OK",
        "<html><body><form method=\"post\" action=\"answer.cgi?x=1\"><input name=\"q\" value=\"a b&c\">"
        "<textarea name=\"t\">line 1\nline 2</textarea><input type=\"submit\" id=\"send\" name=\"go\" value=\"Send\">"
        "</form></body></html>",
        {"Content-Type: text/html"}));
    const int task = fixture_.project().createTask(address, 0, kRootFolder);
    QVERIFY(task > 0);
    QTRY_VERIFY_WITH_TIMEOUT(stored(address), 20000);
    QWebEnginePage *page = fixture_.showInBrowser(address);
    server.answer(test::httpResponse(200, "OK", "<html><body>Thank you</body></html>", {"Content-Type: text/html"}));
    evaluate(page, QStringLiteral("document.getElementById('send').click(); true"));
    QTRY_COMPARE_WITH_TIMEOUT(bodyText(page), QStringLiteral("Thank you"), 20000);
    QVERIFY(server.waitForRequests(2, std::chrono::milliseconds(5000)));
    const std::string posted = server.requests()[1];
    QVERIFY2(posted.starts_with("POST /answer.cgi?x=1 HTTP/1.0\r\n"), posted.c_str());
    QVERIFY2(posted.ends_with("\r\n\r\nq=a+b%26c&t=line+1%0D%0Aline+2&go=Send"), posted.c_str());
    // Reloaded, the result is asked for with the same body, so the stored answer shows.
    QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
    page->triggerAction(QWebEnginePage::Reload);
    QVERIFY(loaded.wait(20000));
    QCOMPARE(bodyText(page), QStringLiteral("Thank you"));
    QCOMPARE(server.requests().size(), size_t{2});

    // Opened offline from the task's files, the answer is asked for with its form data too.
    fixture_.project().setRunning(false);
    ItemWindow *files = form().showItems(*fixture_.project().task(static_cast<uint32_t>(task)));
    QTRY_VERIFY_WITH_TIMEOUT(files->list().model().size() == 2, 10000);
    const ItemListModel &rows = files->list().model();
    const int answer = rows.row(0).formData.isEmpty() ? 1 : 0;
    QCOMPARE(rows.row(answer).formData, QStringLiteral("q=a+b%26c&t=line+1%0D%0Aline+2&go=Send"));
    QVERIFY(files->list().selectResource(rows.row(answer).resource));
    QSignalSpy reopened(page, &QWebEnginePage::loadFinished);
    page->load(QUrl(QStringLiteral("about:blank")));
    QVERIFY(reopened.wait(20000));
    files->list().command(QStringLiteral("acOpen"))->trigger();
    QVERIFY(reopened.wait(20000));
    QCOMPARE(bodyText(page), QStringLiteral("Thank you"));
    QCOMPARE(server.requests().size(), size_t{2});
}

SITELARK_GUI_TEST_MAIN(OnlineFetchTest)

#include "OnlineFetchTest.moc"
