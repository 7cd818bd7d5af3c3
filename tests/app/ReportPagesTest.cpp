// The report pages on "qzinfo:" over the crawled site with its server
// stopped: the project report and the task report agree with what lark
// says of the same project, texts of a task that hold markup show as text,
// and the filter test page tests what it is asked to.

#include <QAction>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "BrowserForm.h"
#include "BrowserPage.h"
#include "EngineLibrary.h"
#include "FilterTestSubject.h"
#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "MainForm.h"
#include "ModalAnswers.h"
#include "PageScripts.h"
#include "ProgressPanel.h"
#include "RecordBuffer.h"
#include "dialogs/NewTaskDialog.h"
#include "items/ItemRow.h"
#include "views/TaskListFrame.h"

using namespace gui_test;

namespace {

// The number a report shows ("1,234").
qint64 shownNumber(const QString &text) { return QString(text).remove(QLatin1Char(',')).trimmed().toLongLong(); }

// A size as lark writes it.
QString larkSize(qint64 bytes) {
    if (bytes < 1024) return QStringLiteral("%1 bytes").arg(bytes);
    if (bytes < 1024 * 1024) return QStringLiteral("%1 KiB").arg(bytes / 1024.0, 0, 'f', 1);
    return QStringLiteral("%1 MiB").arg(bytes / (1024.0 * 1024.0), 0, 'f', 1);
}

qint64 seconds(const QString &clock) {
    const QStringList parts = clock.trimmed().split(QLatin1Char(':'));
    return parts.size() == 3 ? parts[0].toLongLong() * 3600 + parts[1].toLongLong() * 60 + parts[2].toLongLong() : -1;
}

QString elementText(QWebEnginePage *page, const QString &selector) {
    return evaluate(page, QStringLiteral("(document.querySelector('%1') || {}).textContent || ''").arg(selector))
        .toString();
}

}  // namespace

class ReportPagesTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::Crawled, GuiFixture::Server::Stopped); }
    void init();
    void cleanup() { fixture_.tearDown(); }

    void theProjectReportAgreesWithLarkInfo();
    void theTaskReportAgreesWithLarkAndShowsMarkupAsText();
    void theFilterTestPageTestsTheAddressAndKindAsked();
    void anUnknownTaskGivesItsOwnPage();
    void reportsOpenAloneFromTheirCommandsAndLinks();

private:
    // Opens one of the program's pages in a browser window and waits until it has loaded.
    QWebEnginePage *showPage(const QString &address);
};

void ReportPagesTest::init() {
    fixture_.setUp();
    form().resize(1260, 1000);  // room for the pages in the screenshots
    FilterTestSubject::instance().setAddress(QStringLiteral("http://"));
    FilterTestSubject::instance().setKind(ENG_LINK_HYPERLINK);
}

QWebEnginePage *ReportPagesTest::showPage(const QString &address) {
    QWebEnginePage *page = browser() ? browser()->page() : fixture_.showInBrowser(QString());
    QSignalSpy shown(page, &QWebEnginePage::loadFinished);
    browser()->navigate(QUrl(address));
    if (!shown.wait(20000)) qWarning("the page did not load");
    return page;
}

void ReportPagesTest::theProjectReportAgreesWithLarkInfo() {
    const QString info = larkOutput({QStringLiteral("info"), fixture_.preparedProject()});
    QVERIFY2(info.contains(QStringLiteral("Online")), qPrintable(info));
    QWebEnginePage *page = showPage(QStringLiteral("qzinfo://projectreport/"));
    QCOMPARE(page->title(), QStringLiteral("Project Report"));
    const QVariantList rows =
        evaluate(page, QStringLiteral("Array.from(document.querySelectorAll('#types tr')).slice(1)"
                                      ".map(r => Array.from(r.cells).map(c => c.textContent))"))
            .toList();
    QCOMPARE(rows.size(), 7);
    const QList<std::pair<QString, QString>> names{{QStringLiteral("HTML Pages"), QStringLiteral("HTML")},
                                                   {QStringLiteral("GIF Images"), QStringLiteral("GIF image")},
                                                   {QStringLiteral("JPEG Images"), QStringLiteral("JPEG image")},
                                                   {QStringLiteral("BMP Images"), QStringLiteral("BMP image")},
                                                   {QStringLiteral("TEXT Files"), QStringLiteral("plain text")},
                                                   {QStringLiteral("Other files"), QStringLiteral("other")}};
    qint64 totalCount = 0, totalSize = 0, typesShown = 0;
    for (int k = 0; k < names.size(); ++k) {
        const QStringList cells = rows[k].toStringList();
        QCOMPARE(cells[0], names[k].first);
        const qint64 count = shownNumber(cells[1]), size = shownNumber(cells[2]);
        totalCount += count;
        totalSize += size;
        const QRegularExpression line(
            QStringLiteral("^  %1 +(\\d+) bodies  (.+)$").arg(QRegularExpression::escape(names[k].second)),
            QRegularExpression::MultilineOption);
        const QRegularExpressionMatch said = line.match(info);
        if (!said.hasMatch()) {
            QCOMPARE(count, 0);
            continue;
        }
        ++typesShown;
        QCOMPARE(count, said.captured(1).toLongLong());
        QCOMPARE(larkSize(size), said.captured(2).trimmed());
    }
    QVERIFY(typesShown >= 2);  // pages and the image at least
    const QStringList total = rows[6].toStringList();
    QCOMPARE(total[0], QStringLiteral("Total"));
    QCOMPARE(shownNumber(total[1]), totalCount);
    QCOMPARE(shownNumber(total[2]), totalSize);
    const QRegularExpressionMatch online =
        QRegularExpression(QStringLiteral("^Online +(\\S+)$"), QRegularExpression::MultilineOption).match(info);
    QVERIFY(online.hasMatch());
    const QStringList project =
        evaluate(page, QStringLiteral("Array.from(document.querySelectorAll('#project td.n')).map(c => c.textContent)"))
            .toStringList();
    QCOMPARE(project.size(), 2);
    QCOMPARE(seconds(project[0]), seconds(online.captured(1)));
    QCOMPARE(project[1].toInt(), fixture_.project().refreshableCount());
    screenshot(browser(), QStringLiteral("report-project.png"));
}

void ReportPagesTest::theTaskReportAgreesWithLarkAndShowsMarkupAsText() {
    const QString tasks = larkOutput({QStringLiteral("tasks"), fixture_.preparedProject()});
    const QRegularExpressionMatch row =
        QRegularExpression(QStringLiteral("^ +1 +\\S+ +(\\d+) +(\\d+) +(\\d+) +(\\d+) "),
                           QRegularExpression::MultilineOption)
            .match(tasks);
    QVERIFY2(row.hasMatch(), qPrintable(tasks));
    const int queued = row.captured(1).toInt(), retrieved = row.captured(2).toInt(), depth = row.captured(3).toInt(),
              errors = row.captured(4).toInt();

    std::optional<TaskRow> task = fixture_.project().task(1);
    QVERIFY(task);
    const QString name = QStringLiteral("<b>bold</b> & <script>document.title='taken'</script>\"quoted\"");
    task->name = name;
    QVERIFY(fixture_.project().updateTask(*task));

    QWebEnginePage *page = showPage(QStringLiteral("qzinfo://taskinfo/1"));
    QCOMPARE(page->title(), QStringLiteral("Report for task \"") + name + QLatin1Char('"'));
    QCOMPARE(elementText(page, QStringLiteral("h3")), QStringLiteral("Report for task ") + name);
    QCOMPARE(evaluate(page, QStringLiteral("document.querySelectorAll('h3 b, h3 script').length")).toInt(), 0);
    QCOMPARE(elementText(page, QStringLiteral("#queued")).toInt(), queued);
    QCOMPARE(elementText(page, QStringLiteral("#retrieved")).toInt(), retrieved - errors);
    QCOMPARE(
        elementText(page, QStringLiteral("#errors")).toInt() + elementText(page, QStringLiteral("#tcperrors")).toInt(),
        errors);
    QVERIFY(bodyText(page).contains(QStringLiteral("Exploration depth: %1").arg(depth)));
    QCOMPARE(shownNumber(elementText(page, QStringLiteral("#size"))), static_cast<qint64>(task->size));
    QCOMPARE(elementText(page, QStringLiteral("#address")), task->url);
    QVERIFY(evaluate(page, QStringLiteral("document.querySelector('#address').href"))
                .toString()
                .startsWith(QStringLiteral("kiv:")));
    QVERIFY(elementText(page, QStringLiteral("#state")).startsWith(QStringLiteral("The task is")));
    QVERIFY(elementText(page, QStringLiteral("#created")) != QStringLiteral("n/a"));
    screenshot(browser(), QStringLiteral("report-task.png"));

    // The filter test page names the task the same way.
    page = showPage(QStringLiteral("qzinfo://urltestfilter2/1"));
    QCOMPARE(elementText(page, QStringLiteral("a[href^=\"qzinfo://taskinfo/\"]")), name);
}

void ReportPagesTest::theFilterTestPageTestsTheAddressAndKindAsked() {
    FilterTestSubject::instance().setAddress(QStringLiteral("http://elsewhere.test/x"));
    QWebEnginePage *page = showPage(QStringLiteral("qzinfo://urltestfilter2/1"));
    QCOMPARE(page->title(), QStringLiteral("Test filters"));  // the browser trims the title's blanks
    QCOMPARE(evaluate(page, QStringLiteral("document.getElementById('url').value")).toString(),
             QStringLiteral("http://"));
    QVERIFY(elementText(page, QStringLiteral("#projectfilter")).contains(QStringLiteral("The filter is empty.")));

    // A stored image: its address, tested as the kind of link that found it.
    const auto pairs =
        eng::client::receiveRecords<eng::client::ItemResource>(engine().Eng_FreeMem, engine().Eng_GetTaskItems, 1u);
    const std::vector<ItemRow> files = itemRows(pairs);
    const auto logo = std::find_if(files.begin(), files.end(),
                                   [](const ItemRow &row) { return row.address.endsWith(QStringLiteral("logo.png")); });
    QVERIFY(logo != files.end());
    page = showPage(QStringLiteral("qzinfo://itemtestfilter/1/%1").arg(logo->item));
    QCOMPARE(evaluate(page, QStringLiteral("document.getElementById('url').value")).toString(), logo->address);
    QCOMPARE(evaluate(page, QStringLiteral("document.getElementById('kind').selectedIndex")).toInt(), 1);  // "Images"

    // Another address typed and tested: the page comes back testing it.
    const QString typed = QStringLiteral("http://typed.test/<odd>\"page\".html");
    QSignalSpy reloaded(page, &QWebEnginePage::loadFinished);
    evaluate(page, QStringLiteral("document.getElementById('url').value = %1; "
                                  "document.getElementById('kind').selectedIndex = 0; "
                                  "document.getElementById('test').click(); true")
                       .arg(QStringLiteral("'http://typed.test/<odd>\"page\".html'")));
    QTRY_COMPARE_WITH_TIMEOUT(FilterTestSubject::instance().address(), typed, 10000);
    QVERIFY(reloaded.wait(10000));
    QCOMPARE(evaluate(page, QStringLiteral("document.getElementById('url').value")).toString(), typed);
    QVERIFY(elementText(page, QStringLiteral("#result")).contains(QStringLiteral("The URL is")));
    screenshot(browser(), QStringLiteral("report-filter-test.png"));

    // The task filter's "Edit" opens the task's dialog on its filter page.
    int shownPage = -1;
    whenOpen<NewTaskDialog>([&](NewTaskDialog *dialog) {
        shownPage = dialog->findChild<QTabWidget *>()->currentIndex();
        dialog->reject();
    });
    evaluate(page, QStringLiteral("document.querySelector('#taskfilter a').click(); true"));
    QTRY_COMPARE_WITH_TIMEOUT(shownPage, 1, 10000);

    // An item the task does not have gives no page.
    page = showPage(QStringLiteral("qzinfo://itemtestfilter/1/999999"));
    QCOMPARE(bodyText(page).trimmed(), QString());
}

void ReportPagesTest::anUnknownTaskGivesItsOwnPage() {
    QWebEnginePage *page = showPage(QStringLiteral("qzinfo://taskinfo/999"));
    QVERIFY(bodyText(page).contains(QStringLiteral("Task not found. TaskID:999")));
}

// The reports' commands, and a report page's link to another, each open a
// new browser page that shows the report alone: no address, no status line.
void ReportPagesTest::reportsOpenAloneFromTheirCommandsAndLinks() {
    auto *pages = form().findChild<QTabWidget *>();
    const auto opened = [pages](const QString &title) -> BrowserForm * {
        auto *report = qobject_cast<BrowserForm *>(pages->currentWidget());
        if (!report) return nullptr;
        if (!QTest::qWaitFor([&] { return report->page()->title() == title; }, 20000)) return nullptr;
        const bool alone = !report->findChild<QLineEdit *>()->isVisible() &&
                           !report->progressPanel()->parentWidget()->isVisible() && report->view()->isVisible();
        return alone ? report : nullptr;
    };
    form().findChild<QAction *>(QStringLiteral("acProjectReport"))->trigger();
    QVERIFY(opened(QStringLiteral("Project Report")));
    QCOMPARE(pages->count(), 2);

    pages->setCurrentIndex(0);
    QVERIFY(form().taskList().selectTask(1));
    form().findChild<QAction *>(QStringLiteral("acTaskReport"))->trigger();
    BrowserForm *taskReport = opened(QStringLiteral("Report for task \"%1\"").arg(fixture_.project().task(1)->name));
    QVERIFY(taskReport);
    QCOMPARE(pages->count(), 3);
    QTRY_VERIFY_WITH_TIMEOUT(
        evaluate(taskReport->page(), QStringLiteral("!!(window.external && window.external.TaskTestFilter)")).toBool(),
        10000);
    evaluate(taskReport->page(), QStringLiteral("window.external.TaskTestFilter(1); true"));
    QTRY_COMPARE_WITH_TIMEOUT(pages->count(), 4, 10000);
    QVERIFY(opened(QStringLiteral("Test filters")));
    screenshot(&form(), QStringLiteral("report-alone.png"));
}

SITELARK_GUI_TEST_MAIN(ReportPagesTest)

#include "ReportPagesTest.moc"
