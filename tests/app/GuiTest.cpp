// The desktop program under a real display: a first start with a fresh
// settings file, a project crawled from a site that nginx serves, the stored
// pages shown in the embedded browser through "kiv:", a status page whose
// link reaches the program, and a reopened project. Screenshots go to the
// build folder.

#include <QAbstractButton>
#include <QCheckBox>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QCursor>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWebEngineView>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "BrowserForm.h"
#include "BrowserPage.h"
#include "DropBox.h"
#include "DroppedAddresses.h"
#include "EngineLibrary.h"
#include "FilterTestSubject.h"
#include "FragmentLinks.h"
#include "TaskCreation.h"
#include "MainForm.h"
#include "MessageBus.h"
#include "BusMessages.h"
#include "PageCommands.h"
#include "ProgressPanel.h"
#include "NotificationWindow.h"
#include "ProjectTemplate.h"
#include "Startup.h"
#include "StoredResource.h"
#include "support/NginxServer.h"
#include "support/ScriptedHttpServer.h"
#include "support/TempDir.h"

namespace {

void writeFile(const std::filesystem::path &path, const std::string &text) {
    std::ofstream(path, std::ios::binary) << text;
}

void writeSite(const std::filesystem::path &root) {
    writeFile(root / "index.html",
              "<html><head><title>Test site</title></head><body><h1>Welcome to the test site</h1>"
              "<img id=\"logo\" src=\"images/logo.png\" width=\"64\" height=\"64\">"
              "<p><a id=\"next\" href=\"page2.html\">The second page</a> <a href=\"evil.html\">scripts</a>"
              " <a href=\"leaving.html\">leaving</a> <a href=\"http://127.0.0.1:1/unreachable.html\">down</a></p>"
              "</body></html>");
    writeFile(root / "page2.html",
              "<html><head><title>Second</title></head><body><p>This is the second page.</p>"
              "<a href=\"index.html\">back</a> <a href=\"files/data.bin\">data</a></body></html>");
    std::filesystem::create_directories(root / "files");
    writeFile(root / "files" / "data.bin", std::string(5000, '\x7f') + "end");
    // A downloaded page that tries the program's scripting object.
    writeFile(root / "evil.html",
              "<html><head><title>evil</title><script>"
              "function tryIt() { if (!window.external || !window.external.DeleteItem) return setTimeout(tryIt, 50);"
              " for (var id = 1; id < 40; ++id) window.external.DeleteItem(id);"
              " document.title = 'tried ' + window.external.id; }"
              "window.onload = tryIt;</script></head><body>evil page</body></html>");
    // One that leaves for a page the program answers itself (the server that is
    // down gets a status page) and calls while it still shows.
    writeFile(root / "leaving.html",
              "<html><head><title>leaving</title><script>"
              "function leave() { if (!window.external || !window.external.DeleteItem) return setTimeout(leave, 50);"
              " setInterval(function () { for (var id = 1; id < 40; ++id) window.external.DeleteItem(id); }, 1);"
              " location.href = 'kiv:0:01-01-2026-00-00-00:0:http://127.0.0.1:1/unreachable.html'; }"
              "window.onload = leave;</script></head><body>leaving</body></html>");
    std::filesystem::create_directories(root / "images");
    QImage logo(64, 64, QImage::Format_RGB32);
    logo.fill(QColor(30, 120, 200));
    logo.save(QString::fromStdString((root / "images" / "logo.png").string()), "PNG");
}

// Runs JavaScript in the page and waits for its result.
QVariant evaluate(QWebEnginePage *page, const QString &script) {
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    for (int waited = 0; !done && waited < 10000; waited += 10) QTest::qWait(10);
    if (!done) QTest::qFail("the script gave no result", __FILE__, __LINE__);
    return result;
}

QString bodyText(QWebEnginePage *page) {
    return evaluate(page, QStringLiteral("document.body ? document.body.innerText : ''")).toString();
}

// Calls the handler with the next modal dialog of the type once it is open.
template <typename Dialog>
void whenOpen(std::function<void(Dialog *)> handle) {
    auto *poll = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, waited, handle] {
        if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            handle(dialog);
        } else if ((*waited += 50) > 20000) {
            poll->deleteLater();
            poll->stop();
            qWarning("no dialog opened");
        }
    });
    poll->start(50);
}

// Fills the first file dialog that opens with the path, and accepts it.
void answerFileDialog(const QString &path) {
    whenOpen<QFileDialog>([path](QFileDialog *dialog) {
        const QFileInfo file(path);
        dialog->setDirectory(file.absolutePath());
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(file.fileName());
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

// Answers the next message box with the button, keeping its text.
void answerMessageBox(QMessageBox::StandardButton button, QString *text) {
    whenOpen<QMessageBox>([button, text](QMessageBox *box) {
        *text = box->text();
        box->button(button)->click();
    });
}

// Runs the built lark program; its standard output.
QString runLark(const QStringList &arguments) {
    QProcess process;
    process.start(QStringLiteral(LARK_PROGRAM), arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool stored(const QString &address) {
    const auto resource = storedResource(address);
    return resource && resource->done;
}

}  // namespace

class GuiTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void firstStartCreatesAProjectAndGoesOnline();
    void aTaskForTheSiteIsDownloaded();
    void refreshFetchesAgainAPageThatFailedWhereRetrievingShowsTheStore();
    void aStatusPagesRefreshShowsThePageOnceTheServerAnswers();
    void aFormPostedFromAStoredPageReachesTheServerWithItsBody();
    void aProjectCutInHalfIsRepairedFromTheMenuAndOpens();
    void addressesDroppedOnTheDropBoxBecomeTasks();
    void theStartPageShowsFromTheStore();
    void aRelativeLinkInAStoredPageIsFollowed();
    void offlineALinkToAMissingPageIsQueuedOnRequestAndNotFollowed();
    void linksAreMarkedByWhatTheProjectHolds();
    void aLinkFollowedWithShiftBecomesATask();
    void tasksForTheLinksOfASelectionSayHowManyExisted();
    void onlyTheShownPagesProgressFillsItsStatusLine();
    void saveAsWritesAnArchiveWithThePagesImage();
    void aStoredFileTheBrowserCannotShowIsSaved();
    void aBrowserWindowUndocksAndDocksAgain();
    void viewSourceShowsTheStoredPagesHtml();
    void scriptsOpenAndMoveWindowsOnlyAsTheOptionsAllow();
    void aStoredPageCannotUseTheScriptingObject();
    void aMissingPageShowsAStatusPageWhoseLinkGoesOnline();
    void theProgramsOwnPagesChooseWhatTheFilterTestTests();
    void helpOpensInABrowserWindowOfItsOwn();
    void theProjectClosesAndReopensFromTheRecentList();
    void theProjectsTextsSurviveGoingOnlineAndWritingItsProperties();
    void reopenedWithQueuedPagesItOffersToGoOnlineOnce();
    void goingOnlineOffersToQueueWhatTheConnectionLost();
    void clearEmptiesTheProjectAndCompactReportsSuccess();
    void droppedDataGivesItsAddresses();
    void theCommandLineOpensAProjectGoesOnlineAndQuitsWhenDone();
    void whileTheEngineWorksOnlyItsNotificationsAreDispatched();
    void cleanupTestCase();

private:
    QString url(const QString &path) const { return base_ + path; }
    QWebEnginePage *showInBrowser(const QString &address);
    void triggerMenuCommand(const QString &text);
    void screenshot(QWidget *widget, const QString &name);

    std::unique_ptr<test::TempDir> site_;
    std::unique_ptr<test::NginxServer> nginx_;
    QString base_;  // the site's address, also once nginx has stopped
    QTemporaryDir work_;
    std::unique_ptr<MainForm> form_;
    BrowserForm *browser_ = nullptr;
};

void GuiTest::initTestCase() {
    site_ = std::make_unique<test::TempDir>();
    writeSite(site_->path());
    nginx_ = std::make_unique<test::NginxServer>(site_->path());
    base_ = QString::fromStdString(nginx_->url(""));
    form_ = std::make_unique<MainForm>(QStringList{QStringLiteral("Sitelark")});
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void GuiTest::firstStartCreatesAProjectAndGoesOnline() {
    const QString path = work_.filePath(QStringLiteral("site.slk"));
    answerFileDialog(path);
    form_->start();  // a first start runs New Project
    QVERIFY(form_->project().active());
    QCOMPARE(form_->project().fileName(), path);
    QVERIFY(form_->project().running());
    QCOMPARE(form_->windowTitle(), QStringLiteral("Sitelark - site - [ONLINE]"));
    // Project files open with the program.
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    QVERIFY(QFile::exists(data + QStringLiteral("/applications/sitelark.desktop")));
    QFile mime(data + QStringLiteral("/mime/packages/sitelark.xml"));
    QVERIFY(mime.open(QIODevice::ReadOnly));
    QVERIFY(mime.readAll().contains("<glob pattern=\"*.slk\"/>"));
}

void GuiTest::aTaskForTheSiteIsDownloaded() {
    form_->findChild<QLineEdit *>(QStringLiteral("address"))->setText(url(QStringLiteral("/index.html")));
    form_->findChild<QSpinBox *>(QStringLiteral("depth"))->setValue(2);
    form_->findChild<QAction *>(QStringLiteral("acGet"))->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(
        form_->project().statistics().itemsRetrieved >= 4 && form_->project().statistics().itemsRemaining == 0, 30000);
    QVERIFY(stored(url(QStringLiteral("/images/logo.png"))));
    // What a link hint says of a stored page.
    const auto size = std::filesystem::file_size(site_->path() / "page2.html");
    QCOMPARE(storedResource(url(QStringLiteral("/page2.html")))->hint(),
             QStringLiteral("Retrieved %1 bytes").arg(size));
}

void GuiTest::refreshFetchesAgainAPageThatFailedWhereRetrievingShowsTheStore() {
    test::TempDir folder;
    test::NginxServer server(folder.path());
    const QString address = QString::fromStdString(server.url("/later.html"));
    QVERIFY(form_->project().createTask(address, 0, kRootFolder) > 0);
    QTRY_VERIFY_WITH_TIMEOUT(stored(address), 20000);
    QVERIFY(storedResource(address)->failed);  // not there yet: 404
    writeFile(folder.path() / "later.html", "<html><body>Here at last</body></html>");

    QWebEnginePage *page = showInBrowser(address);
    QVERIFY(bodyText(page).contains(QStringLiteral("404 Not Found")));
    const auto shows = [&](QWebEnginePage *page, const std::function<void()> &navigate) {
        QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
        navigate();
        if (!loaded.wait(20000)) QTest::qFail("the page did not load", __FILE__, __LINE__);
        return bodyText(page);
    };
    // Neither a navigation nor retrieving the page from the store goes to the server.
    QVERIFY(shows(page, [&] {
                browser_->open(address, 0, QDateTime::currentDateTime());
            }).contains(QStringLiteral("404 Not Found")));
    QVERIFY(shows(page, [&] {
                for (QAction *action : browser_->findChildren<QAction *>())
                    if (action->text() == QStringLiteral("Retrieve page from database")) action->trigger();
            }).contains(QStringLiteral("404 Not Found")));
    QVERIFY(server.waitForAccessLog(1, std::chrono::milliseconds(5000)));
    QCOMPARE(server.accessLog().size(), size_t{1});
    // The browser's Refresh fetches it again, and the project keeps the new copy.
    QCOMPARE(shows(page, [&] { browser_->view()->pageAction(QWebEnginePage::Reload)->trigger(); }),
             QStringLiteral("Here at last"));
    QCOMPARE(server.accessLog().size(), size_t{2});
    QVERIFY(!storedResource(address)->failed);
    screenshot(browser_, QStringLiteral("refreshed-page.png"));
}

void GuiTest::aStatusPagesRefreshShowsThePageOnceTheServerAnswers() {
    test::ScriptedHttpServer server;
    const QString address = QString::fromStdString(server.url("/flaky.html"));
    for (int attempt = 0; attempt <= form_->project().properties().retries; ++attempt)
        server.answer("");  // the connection closes without an answer
    QVERIFY(form_->project().createTask(address, 0, kRootFolder) > 0);
    QTRY_VERIFY_WITH_TIMEOUT(stored(address), 20000);
    QWebEnginePage *page = showInBrowser(address);
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

void GuiTest::aFormPostedFromAStoredPageReachesTheServerWithItsBody() {
    test::ScriptedHttpServer server;
    const QString address = QString::fromStdString(server.url("/form.html"));
    server.answer(test::httpResponse(
        200, "OK",
        "<html><body><form method=\"post\" action=\"answer.cgi?x=1\"><input name=\"q\" value=\"a b&c\">"
        "<textarea name=\"t\">line 1\nline 2</textarea><input type=\"submit\" id=\"send\" name=\"go\" value=\"Send\">"
        "</form></body></html>",
        {"Content-Type: text/html"}));
    QVERIFY(form_->project().createTask(address, 0, kRootFolder) > 0);
    QTRY_VERIFY_WITH_TIMEOUT(stored(address), 20000);
    QWebEnginePage *page = showInBrowser(address);
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
}

void GuiTest::aProjectCutInHalfIsRepairedFromTheMenuAndOpens() {
    const QString site = form_->project().fileName(), damaged = work_.filePath(QStringLiteral("damaged.slk"));
    runLark({QStringLiteral("mirror"), url(QStringLiteral("/index.html")), QStringLiteral("-o"), damaged,
             QStringLiteral("--depth"), QStringLiteral("2")});
    const std::filesystem::path file = damaged.toStdString();
    std::filesystem::resize_file(file, std::filesystem::file_size(file) / 2);
    QVERIFY(runLark({QStringLiteral("info"), damaged}).isEmpty());  // unreadable as it is
    answerFileDialog(damaged);
    QString told;
    answerMessageBox(QMessageBox::Ok, &told);
    triggerMenuCommand(QStringLiteral("Repair Database"));
    QCOMPARE(told, QStringLiteral("Operation completed successfully."));
    QVERIFY(QFile::exists(damaged + QStringLiteral(".damaged")));  // what was damaged is kept
    QVERIFY(!runLark({QStringLiteral("info"), damaged}).isEmpty());
    form_->openFile(damaged);
    QVERIFY(form_->project().active());
    QCOMPARE(form_->project().fileName(), damaged);
    screenshot(form_.get(), QStringLiteral("repaired-project.png"));
    form_->openFile(site);
    QVERIFY(form_->project().active());
}

void GuiTest::addressesDroppedOnTheDropBoxBecomeTasks() {
    DropBox &box = form_->dropBox();
    QCOMPARE(box.windowTitle(), QStringLiteral("Root Folder"));  // the root folder is "Root"
    const auto drop = [&](const QString &text) {
        QMimeData data;
        data.setText(text);
        return box.take(data);
    };
    QVERIFY(!form_->project().findTasks(url(QStringLiteral("/page2.html"))));
    QCOMPARE(drop(url(QStringLiteral("/page2.html")) + QStringLiteral("\r\n") +
                  QStringLiteral("kiv:0:09-12-2026-10-00-00:0:") + url(QStringLiteral("/evil.html"))),
             2);
    QVERIFY(form_->project().findTasks(url(QStringLiteral("/page2.html"))));
    QVERIFY(form_->project().findTasks(url(QStringLiteral("/evil.html"))));
    QVERIFY(box.animating());  // the box shows it took them
    QTRY_VERIFY_WITH_TIMEOUT(!box.animating(), 5000);

    // A text that is no address says so and creates nothing.
    QString shown;
    whenOpen<QMessageBox>([&shown](QMessageBox *box) {
        shown = box->text();
        box->close();
    });
    QCOMPARE(drop(QStringLiteral("mailto:someone")), 0);
    QCOMPARE(shown, QStringLiteral("The URL mailto:someone is not valid."));
    QVERIFY(!box.animating());
}

QWebEnginePage *GuiTest::showInBrowser(const QString &address) {
    browser_ = form_->openBrowser(address, 0, QDateTime::currentDateTime(), false);
    QSignalSpy loaded(browser_->page(), &QWebEnginePage::loadFinished);
    if (!loaded.wait(20000)) QTest::qFail("the page did not load", __FILE__, __LINE__);
    return browser_->page();
}

void GuiTest::theStartPageShowsFromTheStore() {
    form_->project().setRunning(false);  // nothing may come from the network now
    nginx_.reset();
    QWebEnginePage *page = showInBrowser(url(QStringLiteral("/index.html")));
    QVERIFY(bodyText(page).contains(QStringLiteral("Welcome to the test site")));
    QVERIFY(page->url().toString().startsWith(QStringLiteral("kiv:0:")));
    QTRY_VERIFY_WITH_TIMEOUT(
        evaluate(page, QStringLiteral("var i = document.getElementById('logo');"
                                      " i.complete && i.naturalWidth == 64 && i.src.startsWith('kiv:')"))
            .toBool(),
        10000);
    screenshot(form_.get(), QStringLiteral("main-window.png"));
    screenshot(browser_->view(), QStringLiteral("stored-page.png"));
}

void GuiTest::aRelativeLinkInAStoredPageIsFollowed() {
    QWebEnginePage *page = browser_->page();
    QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
    evaluate(page, QStringLiteral("document.getElementById('next').click(); true"));
    QVERIFY(loaded.wait(20000));
    QVERIFY(bodyText(page).contains(QStringLiteral("This is the second page.")));
    QVERIFY(page->url().toString().endsWith(url(QStringLiteral("/page2.html"))));
}

void GuiTest::offlineALinkToAMissingPageIsQueuedOnRequestAndNotFollowed() {
    QWebEnginePage *page = showInBrowser(url(QStringLiteral("/index.html")));
    const QUrl shown = page->url();
    const QString target = url(QStringLiteral("/missing-link.html"));
    QVERIFY(!storedResource(target));
    QString asked;
    answerMessageBox(QMessageBox::Yes, &asked);
    evaluate(page, QStringLiteral("var a = document.createElement('a'); a.href = 'kiv:0:01-01-2026-00-00-00:0:%1';"
                                  " document.body.appendChild(a); a.click(); true")
                       .arg(target));
    QTRY_COMPARE_WITH_TIMEOUT(
        asked,
        QStringLiteral(
            "The page you are trying to access is not available offline.\r\nDo you want to enqueue this URL?"),
        10000);
    QTRY_VERIFY_WITH_TIMEOUT(storedResource(target).has_value(), 5000);
    QCOMPARE(storedResource(target)->state, uint8_t{ENG_STATE_QUEUED});
    QTest::qWait(300);
    QCOMPARE(page->url(), shown);  // the page stays
    QVERIFY(bodyText(page).contains(QStringLiteral("Welcome to the test site")));
}

void GuiTest::linksAreMarkedByWhatTheProjectHolds() {
    form_->options().showCursorOnLink = form_->options().highlightingLink = form_->options().showHintOnLinks = true;
    QWebEnginePage *page = showInBrowser(url(QStringLiteral("/index.html")));
    QWidget *surface = browser_->view()->focusProxy();
    QVERIFY(surface);
    // Puts the mouse on the link and waits for the hint and the marks.
    const auto hover = [&](const QString &selector) {
        const QVariantList box =
            evaluate(page, QStringLiteral("var r = document.querySelector('%1').getBoundingClientRect();"
                                          " [r.left + r.width / 2, r.top + r.height / 2]")
                               .arg(selector))
                .toList();
        QCursor::setPos(QPoint(0, 0));
        QTest::qWait(100);
        QCursor::setPos(surface->mapToGlobal(QPoint(box.value(0).toInt(), box.value(1).toInt())));
        const QString title = QStringLiteral("document.querySelector('%1').title").arg(selector);
        for (int waited = 0; evaluate(page, title).toString().isEmpty() && waited < 10000; waited += 50)
            QTest::qWait(50);
        return evaluate(page, QStringLiteral("var a = document.querySelector('%1');"
                                             " [a.style.cursor, a.style.color, a.title]")
                                  .arg(selector))
            .toStringList();
    };
    const auto size = std::filesystem::file_size(site_->path() / "page2.html");
    const QString retrieved = QStringLiteral("Retrieved %1 bytes").arg(size);
    QCOMPARE(hover(QStringLiteral("#next")), (QStringList{QStringLiteral("pointer"), QStringLiteral("rgb(0, 0, 255)"),
                                                          retrieved + QStringLiteral(" ( Second )")}));
    QCOMPARE(browser_->statusText(), retrieved + QStringLiteral(", \"Second\", ") + url(QStringLiteral("/page2.html")));
    const QString missing = url(QStringLiteral("/nowhere.html"));
    evaluate(page, QStringLiteral("var a = document.createElement('a'); a.id = 'nowhere'; a.textContent = 'nowhere';"
                                  " a.href = 'kiv:0:01-01-2026-00-00-00:0:%1'; document.body.appendChild(a); true")
                       .arg(missing));
    QCOMPARE(hover(QStringLiteral("#nowhere")),
             (QStringList{QStringLiteral("wait"), QStringLiteral("rgb(255, 0, 0)"),
                          QStringLiteral("Not retrieved ( ") + missing + QStringLiteral(" )")}));
    QCOMPARE(browser_->statusText(), QStringLiteral("Not retrieved, ") + missing);
    form_->options() = ProgramOptions{};
}

void GuiTest::aLinkFollowedWithShiftBecomesATask() {
    auto *tabs = form_->findChild<QTabWidget *>();
    const int pages = tabs->count();
    QWebEnginePage *page = showInBrowser(url(QStringLiteral("/index.html")));
    const QString target = url(QStringLiteral("/shifted.html"));
    const QVariantList box =
        evaluate(page,
                 QStringLiteral("var a = document.createElement('a'); a.textContent = 'shifted';"
                                " a.href = 'kiv:0:01-01-2026-00-00-00:0:%1'; document.body.appendChild(a);"
                                " var r = a.getBoundingClientRect(); [r.left + r.width / 2, r.top + r.height / 2]")
                     .arg(target))
            .toList();
    QVERIFY(!form_->project().findTasks(target));
    QTest::mouseClick(browser_->view()->focusProxy(), Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(box.value(0).toInt(), box.value(1).toInt()));
    QTRY_VERIFY_WITH_TIMEOUT(form_->project().findTasks(target), 10000);
    QTest::mouseMove(browser_->view()->focusProxy(), QPoint(1, 1));  // Shift is up again
    // The link opened a window of its own too, as a shifted link does.
    QTRY_COMPARE_WITH_TIMEOUT(tabs->count(), pages + 1, 5000);
    tabs->widget(pages)->close();
    tabs->setCurrentWidget(browser_);
}

void GuiTest::tasksForTheLinksOfASelectionSayHowManyExisted() {
    // Five links: the start page and the second page have tasks already.
    const QString document = QStringLiteral("kiv:0:01-01-2026-00-00-00:0:") + url(QStringLiteral("/index.html"));
    const QStringList links = fragmentLinks(
        document,
        QStringLiteral("<a href=\"index.html\">1</a><a href=\"page2.html\">2</a><a href=\"new1.html\">3</a>"
                       "<a href=\"new2.html\">4</a><a href=\"new3.html\">5</a><a href=\"new3.html\">again</a>"));
    QCOMPARE(links.size(), 5);
    QString asked, told;
    whenOpen<QMessageBox>([&](QMessageBox *question) {
        asked = question->text();
        question->button(QMessageBox::Ok)->click();
        answerMessageBox(QMessageBox::Ok, &told);  // the count comes once the question is gone
    });
    createTasksForLinks(browser_, form_->project(), links);
    QCOMPARE(asked, QStringLiteral("Do you want create 5 task(s)."));
    QTRY_COMPARE_WITH_TIMEOUT(
        told, QStringLiteral("2 tasks were not created because they already exist or URLs are not valid."), 5000);
    for (const char *path : {"/new1.html", "/new2.html", "/new3.html"})
        QVERIFY2(form_->project().findTasks(url(QString::fromLatin1(path))), path);
}

void GuiTest::onlyTheShownPagesProgressFillsItsStatusLine() {
    QByteArray shown = url(QStringLiteral("/index.html")).toUtf8(), other = url(QStringLiteral("/page2.html")).toUtf8();
    QByteArray posted("a=1");
    EngDownloadProgressRecord record{};
    record.received = 50;
    record.contentLength = 200;
    const auto send = [&](int action, QByteArray &address, char *postData) {
        record.url = address.data();
        record.postData = postData;
        MessageBus::instance().sendToAll(bus::kProgress, action, reinterpret_cast<qintptr>(&record));
    };
    send(3, shown, nullptr);
    QCOMPARE(browser_->statusText(), QStringLiteral("Reading, 50 of 200, ") + url(QStringLiteral("/index.html")));
    QCOMPARE(browser_->progressPanel()->percent(), 25);
    record.received = 150;
    send(3, other, nullptr);
    send(3, shown, posted.data());
    QCOMPARE(browser_->progressPanel()->percent(), 25);
    record.contentLength = 0;  // unknown length: measured against twice what came, and 2
    send(4, shown, nullptr);
    QCOMPARE(browser_->progressPanel()->percent(), 50);
    QCOMPARE(browser_->statusText(), QStringLiteral("Retrieved, 150, ") + url(QStringLiteral("/index.html")));
}

void GuiTest::saveAsWritesAnArchiveWithThePagesImage() {
    const QString path = work_.filePath(QStringLiteral("saved.mht"));
    answerFileDialog(path);
    page_commands::saveAs(*browser_->view());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(path).size() > 0, 10000);
    QTest::qWait(300);
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray archive = saved.readAll().replace("=\r\n", "");  // quoted-printable line breaks
    QVERIFY(archive.contains("Welcome to the test site"));
    // The image is in the archive, taken from the store.
    const qsizetype image = archive.indexOf("Content-Type: image/png");
    QVERIFY(image > 0);
    QVERIFY(archive.indexOf(QByteArray("Content-Location: kiv:"), image) > 0);
}

void GuiTest::aStoredFileTheBrowserCannotShowIsSaved() {
    QVERIFY(stored(url(QStringLiteral("/files/data.bin"))));
    const QString path = work_.filePath(QStringLiteral("kept.bin"));
    answerFileDialog(path);
    browser_->open(url(QStringLiteral("/files/data.bin")), 0, QDateTime::currentDateTime());
    QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(path).size(), 5003, 10000);
    QFile kept(path);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QVERIFY(kept.readAll().endsWith("end"));
    QSignalSpy loaded(browser_->page(), &QWebEnginePage::loadFinished);
    browser_->open(url(QStringLiteral("/index.html")), 0, QDateTime::currentDateTime());
    QVERIFY(loaded.wait(10000));
}

void GuiTest::aBrowserWindowUndocksAndDocksAgain() {
    QVERIFY(browser_->docked());
    const auto dockToggle = [&] {
        for (QAction *action : browser_->findChildren<QAction *>())
            if (action->text() == QStringLiteral("Dock/Undock")) return action->trigger();
        QFAIL("no Dock/Undock command");
    };
    dockToggle();
    QVERIFY(!browser_->docked());
    QVERIFY(browser_->isVisible());
    QCOMPARE(browser_->windowTitle(), QStringLiteral("(Default) Test site"));
    QCOMPARE(form_->findChild<QTabWidget *>()->indexOf(browser_), -1);
    QVERIFY(bodyText(browser_->page()).contains(QStringLiteral("Welcome to the test site")));
    dockToggle();
    QVERIFY(browser_->docked());
    auto *tabs = form_->findChild<QTabWidget *>();
    QCOMPARE(tabs->currentWidget(), browser_);
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QStringLiteral("(Default) Test site"));
}

void GuiTest::viewSourceShowsTheStoredPagesHtml() {
    auto *tabs = form_->findChild<QTabWidget *>();
    const int pages = tabs->count();
    browser_->view()->pageAction(QWebEnginePage::ViewSource)->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(tabs->count(), pages + 1, 10000);
    auto *source = qobject_cast<BrowserForm *>(tabs->widget(pages));
    QVERIFY(source);
    QTRY_VERIFY_WITH_TIMEOUT(bodyText(source->page()).contains(QStringLiteral("<h1>Welcome to the test site</h1>")),
                             10000);
    source->close();
    tabs->setCurrentWidget(browser_);
}

void GuiTest::scriptsOpenAndMoveWindowsOnlyAsTheOptionsAllow() {
    auto *tabs = form_->findChild<QTabWidget *>();
    const int pages = tabs->count();
    const QString popup =
        QStringLiteral("window.open('kiv:0:01-01-2026-00-00-00:0:%1', '_blank', 'width=300,height=200')")
            .arg(url(QStringLiteral("/page2.html")));
    form_->options().allowOpenInNewWin = false;
    evaluate(browser_->page(), popup + QStringLiteral("; true"));
    QTest::qWait(300);
    QCOMPARE(tabs->count(), pages);

    form_->options().allowOpenInNewWin = true;
    evaluate(browser_->page(), QStringLiteral("window.popup = ") + popup + QStringLiteral("; true"));
    QTRY_COMPARE_WITH_TIMEOUT(tabs->count(), pages + 1, 10000);
    auto *opened = qobject_cast<BrowserForm *>(tabs->widget(pages));
    QVERIFY(opened);  // docked as its opener is
    QTRY_VERIFY_WITH_TIMEOUT(bodyText(opened->page()).contains(QStringLiteral("This is the second page.")), 10000);

    // Docked, a script's resize is kept until the options let it undock the window.
    evaluate(opened->page(), QStringLiteral("window.resizeTo(420, 330); true"));
    QTest::qWait(300);
    QVERIFY(opened->docked());
    form_->options().autoUnDock = true;
    evaluate(opened->page(), QStringLiteral("window.resizeTo(420, 330); true"));
    QTRY_VERIFY_WITH_TIMEOUT(!opened->docked(), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(opened->view()->size(), QSize(420, 330), 5000);
    form_->options() = ProgramOptions{};
    opened->close();
}

void GuiTest::aStoredPageCannotUseTheScriptingObject() {
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
    QWebEnginePage *page = showInBrowser(url(QStringLiteral("/evil.html")));
    // The script reached the object (it read its id) and asked it to delete.
    QTRY_COMPARE_WITH_TIMEOUT(page->title(), QStringLiteral("tried Quenmar"), 10000);
    // Nor while it leaves for a page that the program answers itself.
    showInBrowser(url(QStringLiteral("/leaving.html")));
    QTRY_VERIFY_WITH_TIMEOUT(bodyText(page).contains(QStringLiteral("The server could not be reached")), 10000);
    QVERIFY(browser_->page()->ownPage());
    QTest::qWait(300);
    QVERIFY(!boxOpened);
    for (const char *path : {"/index.html", "/page2.html", "/images/logo.png", "/evil.html"})
        QVERIFY2(stored(url(QString::fromLatin1(path))), path);
}

void GuiTest::aMissingPageShowsAStatusPageWhoseLinkGoesOnline() {
    QVERIFY(!form_->project().running());
    QWebEnginePage *page = showInBrowser(url(QStringLiteral("/missing.html")));
    QVERIFY(bodyText(page).contains(QStringLiteral("The page is queued")));
    QVERIFY(browser_->page()->ownPage());
    screenshot(browser_->view(), QStringLiteral("status-page.png"));
    QTRY_VERIFY_WITH_TIMEOUT(evaluate(page, QStringLiteral("!!(window.external && window.external.GoOnline)")).toBool(),
                             10000);
    evaluate(page, QStringLiteral("document.querySelector('a[href^=\"javascript:GoOnline\"]').click(); true"));
    QTRY_VERIFY_WITH_TIMEOUT(form_->project().running(), 10000);
}

void GuiTest::theProgramsOwnPagesChooseWhatTheFilterTestTests() {
    FilterTestSubject &subject = FilterTestSubject::instance();
    QWebEnginePage *page = showInBrowser(url(QStringLiteral("/evil.html")));  // stored content first
    QTRY_COMPARE_WITH_TIMEOUT(page->title(), QStringLiteral("tried Quenmar"), 10000);
    evaluate(page,
             QStringLiteral("window.external.TestUrl('http://stored.test/'); window.external.SetTestMask(3); true"));
    QTest::qWait(300);  // the calls have arrived
    browser_->navigate(QUrl(QStringLiteral("qzinfo://testpage/")));
    QTRY_VERIFY_WITH_TIMEOUT(browser_->page()->ownPage(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(bodyText(page), QStringLiteral("Ok"), 10000);  // the built-in test page
    QTRY_VERIFY_WITH_TIMEOUT(evaluate(page, QStringLiteral("!!(window.external && window.external.TestUrl)")).toBool(),
                             10000);
    QCOMPARE(subject.address(), QStringLiteral("http://"));  // the stored page changed nothing
    QCOMPARE(subject.kind(), 0);
    evaluate(page, QStringLiteral("window.external.TestUrl('http://h/x.gif'); window.external.SetTestMask(1); true"));
    QTRY_COMPARE_WITH_TIMEOUT(subject.address(), QStringLiteral("http://h/x.gif"), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(subject.kind(), 1, 5000);
}

void GuiTest::helpOpensInABrowserWindowOfItsOwn() {
    auto *tabs = form_->findChild<QTabWidget *>();
    triggerMenuCommand(QStringLiteral("Contents and Index"));
    auto *help = qobject_cast<BrowserForm *>(tabs->currentWidget());
    QVERIFY(help && help != browser_);
    QWebEnginePage *page = help->page();
    QTRY_VERIFY_WITH_TIMEOUT(bodyText(page).contains(QStringLiteral("Sitelark Help")), 10000);
    QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
    evaluate(page, QStringLiteral("document.querySelector('a[href=\"tasks.html\"]').click(); true"));
    QVERIFY(loaded.wait(10000));
    QCOMPARE(page->url(), QUrl(QStringLiteral("qzinfo://help/source/tasks.html")));
    QVERIFY(bodyText(page).contains(QStringLiteral("Ways to create a task")));
    QCOMPARE(evaluate(page, QStringLiteral("getComputedStyle(document.querySelector('h1')).borderBottomStyle")),
             QVariant(QStringLiteral("solid")));  // the style sheet came too
    help->close();
}

void GuiTest::theProjectClosesAndReopensFromTheRecentList() {
    form_->project().setRunning(false);
    QCOMPARE(form_->windowTitle(), QStringLiteral("Sitelark - site - [OFFLINE]"));
    const QString path = form_->project().fileName();
    form_->project().setActive(false);
    QVERIFY(!form_->project().active());
    QCOMPARE(form_->windowTitle(), QStringLiteral("Sitelark"));
    QVERIFY(form_->recentProjects().contains(path));
    triggerMenuCommand(form_->recentProjects().first());  // the Reopen menu's entry
    QVERIFY(form_->project().active());
    QCOMPARE(form_->windowTitle(), QStringLiteral("Sitelark - site - [OFFLINE]"));
    // Nothing is left to download: a hint points at the command that goes online.
    QTRY_COMPARE_WITH_TIMEOUT(QToolTip::text(), QStringLiteral("Click here to go online"), 5000);
}

void GuiTest::theProjectsTextsSurviveGoingOnlineAndWritingItsProperties() {
    const QString site = form_->project().fileName(), other = work_.filePath(QStringLiteral("noted.slk"));
    runLark({QStringLiteral("new"), other});
    runLark({QStringLiteral("props"), other, QStringLiteral("--set"), QStringLiteral("note=kept note"),
             QStringLiteral("--set"), QStringLiteral("filter=-*.zip"), QStringLiteral("--set"),
             QStringLiteral("user-text=kept text")});
    form_->openFile(other);
    QVERIFY(form_->project().active());
    const eng::client::ProjectProps &read = form_->project().properties();
    QCOMPARE(QString::fromStdString(read.note), QStringLiteral("kept note"));
    QCOMPARE(QString::fromStdString(read.filter), QStringLiteral("-*.zip"));
    form_->project().setRunning(true);
    form_->project().setRunning(false);
    form_->project().setProjectOptions(ENG_OPTION_NO_OFFLINE_ENQUEUE);
    QVERIFY(form_->project().writeProperties());
    form_->project().setActive(false);
    const QString shown = runLark({QStringLiteral("props"), other});
    for (const char *kept : {"options      0x00000001", "kept note", "-*.zip", "kept text"})
        QVERIFY2(shown.contains(QString::fromLatin1(kept)), qPrintable(shown));
    form_->openFile(site);
    QVERIFY(form_->project().active());
}

void GuiTest::reopenedWithQueuedPagesItOffersToGoOnlineOnce() {
    QVERIFY(!form_->project().running());
    QVERIFY(form_->project().createUrlRes(url(QStringLiteral("/queued.html")), QString(), 0) != 0);
    const QString path = form_->project().fileName();
    form_->project().setActive(false);
    int asked = 0;
    QString question;
    QTimer watch;  // answers every box: No, and not again
    connect(&watch, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            ++asked;
            question = box->text();
            box->checkBox()->setChecked(true);
            box->button(QMessageBox::No)->click();
        }
    });
    watch.start(50);
    form_->openFile(path);
    QTRY_COMPARE_WITH_TIMEOUT(asked, 1, 10000);
    QCOMPARE(question,
             QStringLiteral("The project contains incomplete tasks. Do you want to go online and download them now?"));
    QVERIFY(!form_->options().showOnlinePrompt2);  // the box was ticked
    QVERIFY(!form_->project().running());
    QTest::qWait(2500);  // later statistics ask nothing
    QCOMPARE(asked, 1);
    form_->options().showOnlinePrompt2 = true;
}

void GuiTest::goingOnlineOffersToQueueWhatTheConnectionLost() {
    // Pages fetched while nginx was down failed for the connection.
    const int failed = form_->project().refreshableCount();
    QVERIFY(failed > 0);
    QSignalSpy changed(&form_->project(), &KestProject::itemChanged);
    QString asked;
    answerMessageBox(QMessageBox::Yes, &asked);
    triggerMenuCommand(QStringLiteral("Go Online"));
    QCOMPARE(asked,
             QString::number(failed) + QStringLiteral(" files could not be retrieved because of temporary Internet "
                                                      "connection errors.\r\nDo you want these files to be "
                                                      "queued for next download?"));
    QVERIFY(form_->project().running());
    // Yes queued them again, so each changed state; answered No, none would.
    QTRY_VERIFY_WITH_TIMEOUT(changed.count() >= failed, 10000);
    triggerMenuCommand(QStringLiteral("Go Offline"));
    QVERIFY(!form_->project().running());
}

void GuiTest::clearEmptiesTheProjectAndCompactReportsSuccess() {
    QVERIFY(stored(url(QStringLiteral("/index.html"))));
    QString asked;
    answerMessageBox(QMessageBox::Ok, &asked);
    triggerMenuCommand(QStringLiteral("Clear"));
    QCOMPARE(asked, QStringLiteral("Clear this project ?"));
    QVERIFY(form_->project().active());
    QVERIFY(!stored(url(QStringLiteral("/index.html"))));

    // Compacting another, closed project file.
    const QString other = work_.filePath(QStringLiteral("other.slk"));
    eng::writeNewProject(other.toStdString());
    answerFileDialog(other);
    QString said;
    answerMessageBox(QMessageBox::Ok, &said);
    triggerMenuCommand(QStringLiteral("Compact Database"));
    QTRY_COMPARE_WITH_TIMEOUT(said, QStringLiteral("Operation completed successfully."), 5000);
}

void GuiTest::triggerMenuCommand(const QString &text) {
    for (QAction *action : form_->findChildren<QAction *>())
        if (action->text() == text) return action->trigger();
    QFAIL(qPrintable(QStringLiteral("no command ") + text));
}

void GuiTest::theCommandLineOpensAProjectGoesOnlineAndQuitsWhenDone() {
    const QString path = form_->project().fileName();
    form_.reset();  // one project per process
    MainForm started({QStringLiteral("Sitelark"), path, QStringLiteral("/run"), QStringLiteral("WorkTime=00:30")});
    started.show();
    started.start();
    QVERIFY(started.project().active());
    QVERIFY(started.project().running());
    QVERIFY2(started.windowTitle().startsWith(QStringLiteral("(00:")), qPrintable(started.windowTitle()));
    QVERIFY(started.windowTitle().endsWith(QStringLiteral("Sitelark - site - [ONLINE]")));
    // Online with nothing left to download, the program closes before its time.
    QTRY_VERIFY_WITH_TIMEOUT(!started.isVisible(), 20000);
    QVERIFY(!started.project().active());
}

void GuiTest::whileTheEngineWorksOnlyItsNotificationsAreDispatched() {
    std::vector<uint32_t> handled;
    NotificationWindow notifications([&](uint32_t message, uintptr_t, intptr_t) { handled.push_back(message); });
    bool userEventRan = false;
    QMetaObject::invokeMethod(
        qApp, [&] { userEventRan = true; }, Qt::QueuedConnection);
    EngWnd *window = notifications.window();
    QCOMPARE(window->post(window, ENG_NOTIFY_ONLINE, 1, 0), 1);
    NotificationWindow::pump();  // as the engine does while a call waits
    QCOMPARE(handled, std::vector<uint32_t>{ENG_NOTIFY_ONLINE});
    QVERIFY(!userEventRan);  // no user command starts inside an engine call
    QCoreApplication::processEvents();
    QVERIFY(userEventRan);
}

void GuiTest::droppedDataGivesItsAddresses() {
    const QString shortcut = work_.filePath(QStringLiteral("site.url")),
                  plain = work_.filePath(QStringLiteral("notes.txt"));
    writeFile(shortcut.toStdString(), "[InternetShortcut]\r\nURL=http://example.test/from-shortcut.html\r\n");
    writeFile(plain.toStdString(), "text");
    QMimeData links;
    links.setUrls({QUrl(QStringLiteral("http://example.test/a.html")), QUrl::fromLocalFile(shortcut),
                   QUrl::fromLocalFile(plain)});
    links.setText(QStringLiteral("ignored while there are links"));
    QCOMPARE(droppedAddresses(links), (QStringList{QStringLiteral("http://example.test/a.html"),
                                                   QStringLiteral("http://example.test/from-shortcut.html"), plain}));
    QMimeData text;
    text.setText(QStringLiteral("http://example.test/1.html\r\n\r\nhttp://example.test/2.html\n"));
    QCOMPARE(droppedAddresses(text),
             (QStringList{QStringLiteral("http://example.test/1.html"), QStringLiteral("http://example.test/2.html")}));
}

void GuiTest::cleanupTestCase() { form_.reset(); }

void GuiTest::screenshot(QWidget *widget, const QString &name) {
    QTest::qWait(200);  // the last frame painted
    QVERIFY(widget->grab().save(QStringLiteral(SCREENSHOT_DIR "/") + name));
}

int main(int argc, char **argv) {
    // A fresh settings file, so that this is a first start.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (settings.path() + QStringLiteral("/data")).toLocal8Bit());
    if (const QString error = prepareStartup(); !error.isEmpty()) {
        fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QApplication application(argc, argv);
    if (!finishStartup()) return 1;
    GuiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "GuiTest.moc"
