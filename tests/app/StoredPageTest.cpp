// The crawled site shown from the store in the embedded browser, its server
// stopped: the start page with its image, links followed, marked and turned
// into tasks, a missing page queued on request, and pages saved.

#include <QAbstractButton>
#include <QCursor>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QWebEngineView>

#include "BrowserForm.h"
#include "BrowserPage.h"
#include "FragmentLinks.h"
#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "MainForm.h"
#include "ModalAnswers.h"
#include "PageCommands.h"
#include "PageScripts.h"
#include "StoredResource.h"
#include "TaskCreation.h"

using namespace gui_test;

class StoredPageTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::Crawled, GuiFixture::Server::Stopped); }
    void init();
    void cleanup() { fixture_.tearDown(); }

    void theStartPageShowsFromTheStore();
    void aRelativeLinkInAStoredPageIsFollowed();
    void offlineALinkToAMissingPageIsQueuedOnRequestAndNotFollowed();
    void linksAreMarkedByWhatTheProjectHolds();
    void aLinkFollowedWithShiftBecomesATask();
    void tasksForTheLinksOfASelectionSayHowManyExisted();
    void saveAsWritesAnArchiveWithThePagesImage();
    void aStoredFileTheBrowserCannotShowIsSaved();
    void aStyledPageShowsItsSheetsImageItsSrcsetAndItsIconOffline();
};

void StoredPageTest::init() {
    fixture_.setUp();
    QVERIFY(!form().project().running());
}

void StoredPageTest::theStartPageShowsFromTheStore() {
    QWebEnginePage *page = fixture_.showInBrowser(url(QStringLiteral("/index.html")));
    QVERIFY(bodyText(page).contains(QStringLiteral("Welcome to the test site")));
    QVERIFY(page->url().toString().startsWith(QStringLiteral("kiv:0:")));
    QTRY_VERIFY_WITH_TIMEOUT(
        evaluate(page, QStringLiteral("var i = document.getElementById('logo');"
                                      " i.complete && i.naturalWidth == 64 && i.src.startsWith('kiv:')"))
            .toBool(),
        10000);
    screenshot(&form(), QStringLiteral("main-window.png"));
    screenshot(browser()->view(), QStringLiteral("stored-page.png"));
}

void StoredPageTest::aRelativeLinkInAStoredPageIsFollowed() {
    QWebEnginePage *page = fixture_.showInBrowser(url(QStringLiteral("/index.html")));
    QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
    evaluate(page, QStringLiteral("document.getElementById('next').click(); true"));
    QVERIFY(loaded.wait(20000));
    QVERIFY(bodyText(page).contains(QStringLiteral("This is the second page.")));
    QVERIFY(page->url().toString().endsWith(url(QStringLiteral("/page2.html"))));
}

void StoredPageTest::offlineALinkToAMissingPageIsQueuedOnRequestAndNotFollowed() {
    QWebEnginePage *page = fixture_.showInBrowser(url(QStringLiteral("/index.html")));
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

void StoredPageTest::linksAreMarkedByWhatTheProjectHolds() {
    form().options().showCursorOnLink = form().options().highlightingLink = form().options().showHintOnLinks = true;
    QWebEnginePage *page = fixture_.showInBrowser(url(QStringLiteral("/index.html")));
    QWidget *surface = browser()->view()->focusProxy();
    QVERIFY(surface);
    // Puts the mouse on the link and waits for the hint and the marks.
    const auto hover = [&](const QString &selector) {
        const QVariantList box =
            evaluate(page, QStringLiteral("var e = document.querySelector('%1'); e.scrollIntoView();"
                                          " var r = e.getBoundingClientRect();"
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
    const auto size = std::filesystem::file_size(fixture_.siteRoot() / "page2.html");
    const QString retrieved = QStringLiteral("Retrieved %1 bytes").arg(size);
    QCOMPARE(hover(QStringLiteral("#next")), (QStringList{QStringLiteral("pointer"), QStringLiteral("rgb(0, 0, 255)"),
                                                          retrieved + QStringLiteral(" ( Second )")}));
    QCOMPARE(browser()->statusText(),
             retrieved + QStringLiteral(", \"Second\", ") + url(QStringLiteral("/page2.html")));
    const QString missing = url(QStringLiteral("/nowhere.html"));
    evaluate(page, QStringLiteral("var a = document.createElement('a'); a.id = 'nowhere'; a.textContent = 'nowhere';"
                                  " a.href = 'kiv:0:01-01-2026-00-00-00:0:%1'; document.body.appendChild(a); true")
                       .arg(missing));
    QCOMPARE(hover(QStringLiteral("#nowhere")),
             (QStringList{QStringLiteral("wait"), QStringLiteral("rgb(255, 0, 0)"),
                          QStringLiteral("Not retrieved ( ") + missing + QStringLiteral(" )")}));
    QCOMPARE(browser()->statusText(), QStringLiteral("Not retrieved, ") + missing);
}

void StoredPageTest::aLinkFollowedWithShiftBecomesATask() {
    auto *tabs = form().findChild<QTabWidget *>();
    QWebEnginePage *page = fixture_.showInBrowser(url(QStringLiteral("/index.html")));
    const int pages = tabs->count();
    const QString target = url(QStringLiteral("/shifted.html"));
    const QVariantList box =
        evaluate(page,
                 QStringLiteral(
                     "var a = document.createElement('a'); a.textContent = 'shifted';"
                     " a.href = 'kiv:0:01-01-2026-00-00-00:0:%1'; document.body.appendChild(a); a.scrollIntoView();"
                     " var r = a.getBoundingClientRect(); [r.left + r.width / 2, r.top + r.height / 2]")
                     .arg(target))
            .toList();
    QVERIFY(!form().project().findTasks(target));
    QTest::mouseClick(browser()->view()->focusProxy(), Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(box.value(0).toInt(), box.value(1).toInt()));
    QTRY_VERIFY_WITH_TIMEOUT(form().project().findTasks(target), 10000);
    QTest::mouseMove(browser()->view()->focusProxy(), QPoint(1, 1));  // Shift is up again
    // The link opened a window of its own too, as a shifted link does.
    QTRY_COMPARE_WITH_TIMEOUT(tabs->count(), pages + 1, 5000);
}

void StoredPageTest::tasksForTheLinksOfASelectionSayHowManyExisted() {
    fixture_.showInBrowser(url(QStringLiteral("/index.html")));
    // Five links: the start page (the crawl's task) and the second page have tasks already.
    QVERIFY(form().project().createTask(url(QStringLiteral("/page2.html")), 0, kRootFolder) > 0);
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
    createTasksForLinks(browser(), form().project(), links);
    QCOMPARE(asked, QStringLiteral("Do you want create 5 task(s)."));
    QTRY_COMPARE_WITH_TIMEOUT(
        told, QStringLiteral("2 tasks were not created because they already exist or URLs are not valid."), 5000);
    for (const char *path : {"/new1.html", "/new2.html", "/new3.html"})
        QVERIFY2(form().project().findTasks(url(QString::fromLatin1(path))), path);
}

void StoredPageTest::saveAsWritesAnArchiveWithThePagesImage() {
    QWebEnginePage *page = fixture_.showInBrowser(url(QStringLiteral("/index.html")));
    QTRY_VERIFY_WITH_TIMEOUT(evaluate(page, QStringLiteral("document.getElementById('logo').complete")).toBool(),
                             10000);
    const QString path = fixture_.workPath(QStringLiteral("saved.mht"));
    answerFileDialog(path);
    page_commands::saveAs(*browser()->view());
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

void StoredPageTest::aStoredFileTheBrowserCannotShowIsSaved() {
    fixture_.showInBrowser(url(QStringLiteral("/index.html")));
    QVERIFY(stored(url(QStringLiteral("/files/data.bin"))));
    const QString path = fixture_.workPath(QStringLiteral("kept.bin"));
    answerFileDialog(path);
    browser()->open(url(QStringLiteral("/files/data.bin")), 0, QDateTime::currentDateTime());
    QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(path).size(), 5003, 10000);
    QFile kept(path);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QVERIFY(kept.readAll().endsWith("end"));
    QSignalSpy loaded(browser()->page(), &QWebEnginePage::loadFinished);
    browser()->open(url(QStringLiteral("/index.html")), 0, QDateTime::currentDateTime());
    QVERIFY(loaded.wait(10000));
}

SITELARK_GUI_TEST_MAIN(StoredPageTest)

// The image of a style sheet's url(), of a srcset and of an icon link load
// from the store: each reaches the browser as an offline address.
void StoredPageTest::aStyledPageShowsItsSheetsImageItsSrcsetAndItsIconOffline() {
    QWebEnginePage *page = fixture_.showInBrowser(url(QStringLiteral("/styled.html")));
    QVERIFY(bodyText(page).contains(QStringLiteral("boxed")));
    QTRY_VERIFY_WITH_TIMEOUT(evaluate(page, QStringLiteral("var i = document.getElementById('chosen');"
                                                           " i.complete && i.naturalWidth == 48 &&"
                                                           " i.currentSrc.startsWith('kiv:')"))
                                 .toBool(),
                             10000);
    const QString background =
        evaluate(page, QStringLiteral("getComputedStyle(document.getElementById('box')).backgroundImage")).toString();
    QVERIFY2(background.startsWith(QStringLiteral("url(\"kiv:")) && background.endsWith(QStringLiteral("tile.png\")")),
             qPrintable(background));
    // The sheet's image and the icon, loaded by the addresses the page holds.
    evaluate(page,
             QStringLiteral("window.loaded = [getComputedStyle(document.getElementById('box'))"
                            ".backgroundImage.slice(5, -2), document.querySelector('link[rel=icon]').href]"
                            ".map(function (address) { var i = new Image(); i.src = address; return i; }); true"));
    QTRY_VERIFY_WITH_TIMEOUT(evaluate(page, QStringLiteral("window.loaded.every(function (i) { return i.complete; }) &&"
                                                           " window.loaded[0].naturalWidth == 16 &&"
                                                           " window.loaded[1].naturalWidth == 24 &&"
                                                           " window.loaded[1].src.startsWith('kiv:')"))
                                 .toBool(),
                             10000);
    screenshot(browser()->view(), QStringLiteral("styled-page.png"));
}

#include "StoredPageTest.moc"
