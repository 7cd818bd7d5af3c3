// The progress and statistics panes with a real engine: a crawl of pages that
// nginx sends slowly shows its downloads and counters while it runs and
// leaves an empty list when it ends; the connection limits reach the
// project; the notes follow the selected task and are written back; reports
// arriving by the thousand are applied together.

#include <fstream>

#include <QLCDNumber>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <QWebEnginePage>

#include "BrowserForm.h"
#include "BrowserPage.h"
#include "EngineLibrary.h"
#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "ModalAnswers.h"
#include "ProjectProps.h"
#include "TaskCreation.h"
#include "support/NginxServer.h"
#include "support/TempDir.h"
#include "views/DownloadListModel.h"
#include "views/ProgressFrame.h"
#include "views/StatFrame.h"
#include "views/TaskListFrame.h"

using namespace gui_test;

namespace {

constexpr int kSlowPages = 3;
constexpr int kSlowPageBytes = 40000;  // ten seconds each at the rate below

// Pages that nginx sends at 4 KB a second: an index linking kSlowPages of them.
class SlowSite {
public:
    SlowSite() {
        std::string index = "<html><body>\n";
        for (int k = 1; k <= kSlowPages; ++k) {
            const std::string name = "slow" + std::to_string(k) + ".html";
            index += "<a href=\"" + name + "\">" + name + "</a>\n";
            std::ofstream(root_.file(name)) << "<html><body>" << std::string(kSlowPageBytes, 'x') << "</body></html>\n";
        }
        std::ofstream(root_.file("index.html")) << index << "</body></html>\n";
        test::NginxServer::Options options;
        options.extraServerConfig = "        location ~ ^/slow { limit_rate 4k; }\n";
        nginx_ = std::make_unique<test::NginxServer>(root_.path(), options);
    }
    QString url(const char *path) const { return QString::fromStdString(nginx_->url(path)); }

private:
    test::TempDir root_;
    std::unique_ptr<test::NginxServer> nginx_;
};

DownloadProgress report(uint32_t resource, uint8_t state, uint32_t received) {
    DownloadProgress progress;
    progress.resource = resource;
    progress.state = state;
    progress.url = QStringLiteral("http://127.0.0.1/%1.html").arg(resource);
    progress.received = received;
    progress.contentLength = 100000;
    return progress;
}

}  // namespace

class ProgressPanesTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::Empty); }
    void init() { fixture_.setUp(); }
    void cleanup() { fixture_.tearDown(); }

    void panesFollowACrawlAndClearWhenItEnds();
    void commandsActOnTheSelectedDownloads();
    void connectionLimitsReachTheProject();
    void notesFollowTheSelectedTask();
    void reportsAreAppliedTogether();
    void helpExplainsThePanes();

private:
    ProgressFrame &progress() const { return form().progressFrame(); }
    StatFrame &statistic() const { return form().statFrame(); }
    DownloadListModel &downloads() const { return progress().model(); }
    QString counter(const char *name) const { return statistic().findChild<QLabel *>(name)->text(); }
    bool offlineShown() const {
        const auto *shown = progress().findChild<QStackedWidget *>(QStringLiteral("listOrOffline"))->currentWidget();
        return shown->objectName() == QStringLiteral("offline");
    }
};

void ProgressPanesTest::panesFollowACrawlAndClearWhenItEnds() {
    SlowSite site;
    QVERIFY(offlineShown());
    QCOMPARE(statistic().findChild<QLabel *>(QStringLiteral("caption"))->text(), QStringLiteral("Working Offline"));
    QVERIFY(form().project().setConnectionLimits(4, 4));
    const int task = form().project().createTask(site.url("/index.html"), 1, kRootFolder);
    QVERIFY(task > 0);
    form().project().setRunning(true);
    QVERIFY(!offlineShown());
    QCOMPARE(statistic().findChild<QLabel *>(QStringLiteral("caption"))->text(), QStringLiteral("Time Remaining"));

    // The slow pages download side by side, each a row that grows.
    QTRY_COMPARE_WITH_TIMEOUT(downloads().rowCount(), kSlowPages, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(downloads().download(0).received > 4000, 5000);
    QStringList addresses;
    for (int row = 0; row < kSlowPages; ++row) {
        const QModelIndex number = downloads().index(row, DownloadListModel::Number);
        QCOMPARE(number.data().toInt(), row + 1);
        addresses << downloads().index(row, DownloadListModel::Url).data().toString();
        QCOMPARE(downloads().index(row, DownloadListModel::Type).data().toString(), QStringLiteral("text/html"));
    }
    addresses.sort();
    QCOMPARE(addresses, QStringList({site.url("/slow1.html"), site.url("/slow2.html"), site.url("/slow3.html")}));
    const QString size = downloads().index(0, DownloadListModel::Size).data().toString();
    QCOMPARE(size, QStringLiteral("40,027"));
    QVERIFY(downloads().index(0, DownloadListModel::Percent).data().toString().endsWith(u'%'));
    QCOMPARE(progress().view().model(), &downloads());

    // The statistics count the index page and draw the speed.
    QTRY_COMPARE_WITH_TIMEOUT(counter("retrieved"), QStringLiteral("1"), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(statistic().samples().samples() >= 4, 8000);
    QCOMPARE(downloads().rowCount(), kSlowPages);
    QVERIFY(counter("averageSpeed").endsWith(QStringLiteral(" cps")));
    QVERIFY(counter("averageSpeed") != QStringLiteral("0 cps"));
    screenshot(&progress(), QStringLiteral("progress-pane-running.png"));
    screenshot(&statistic(), QStringLiteral("statistic-pane-running.png"));
    screenshot(&form(), QStringLiteral("panes-running.png"));

    // Once every page is in, no row is left and the counters say so.
    QTRY_COMPARE_WITH_TIMEOUT(counter("retrieved"), QString::number(kSlowPages + 1), 30000);
    QTRY_COMPARE_WITH_TIMEOUT(downloads().rowCount(), 0, 2000);
    QCOMPARE(counter("queued"), QStringLiteral("0"));
    QCOMPARE(counter("errors"), QStringLiteral("0"));
    QCOMPARE(counter("bytesRetrieved"), QStringLiteral("117 Kb"));
    screenshot(&statistic(), QStringLiteral("statistic-pane-done.png"));

    // Going offline shows the offline text; closing the project zeroes the counters.
    form().project().setRunning(false);
    QVERIFY(offlineShown());
    form().project().setActive(false);
    QCOMPARE(counter("retrieved"), QStringLiteral("0"));
    QCOMPARE(counter("bytesRetrieved"), QStringLiteral("0"));
    QCOMPARE(statistic().samples().samples(), 0);
    QVERIFY(!progress().maxConnections().isEnabled());
}

void ProgressPanesTest::commandsActOnTheSelectedDownloads() {
    SlowSite site;
    QVERIFY(form().project().setConnectionLimits(4, 4));
    QVERIFY(form().project().createTask(site.url("/index.html"), 1, kRootFolder) > 0);
    form().project().setRunning(true);
    QTRY_COMPARE_WITH_TIMEOUT(downloads().rowCount(), kSlowPages, 5000);
    QAction *abort = progress().command(QStringLiteral("Abort"));
    QAction *createTask = progress().command(QStringLiteral("Create Task"));
    QVERIFY(!abort->isEnabled() && !createTask->isEnabled());

    // Create Task makes a task of the selected download's address, at depth 0.
    progress().view().setCurrentIndex(downloads().index(0, DownloadListModel::Url));
    QVERIFY(abort->isEnabled() && createTask->isEnabled());
    const QString first = downloads().download(0).url;
    createTask->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(form().project().folderTasks(kRootFolder).size() == 2, 2000);
    const TaskRow made = form().project().folderTasks(kRootFolder).back();
    QCOMPARE(made.url, first);
    QCOMPARE(made.depth, 0u);

    // Abort ends the download long before it would have finished.
    abort->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(downloads().rowCount() < kSlowPages, 3000);
    for (int row = 0; row < downloads().rowCount(); ++row) QVERIFY(downloads().download(row).url != first);

    // The Delete key asks first: Cancel keeps the download, OK aborts it.
    const int before = downloads().rowCount();
    progress().view().setCurrentIndex(downloads().index(0, DownloadListModel::Url));
    QString asked;
    answerMessageBox(QMessageBox::Cancel, &asked);
    QTest::keyClick(&progress().view(), Qt::Key_Delete);
    QCOMPARE(asked, QStringLiteral("Do you want to abort the connection(s) ?"));
    QTest::qWait(500);
    QCOMPARE(downloads().rowCount(), before);
    answerMessageBox(QMessageBox::Ok, &asked);
    QTest::keyClick(&progress().view(), Qt::Key_Delete);
    QTRY_VERIFY_WITH_TIMEOUT(downloads().rowCount() < before, 3000);

    // Going offline ends the downloads left: no row stays behind.
    QVERIFY(downloads().rowCount() > 0);
    form().project().setRunning(false);
    QVERIFY(offlineShown());
    QTRY_COMPARE_WITH_TIMEOUT(downloads().rowCount(), 0, 3000);
}

void ProgressPanesTest::connectionLimitsReachTheProject() {
    QSpinBox &connections = progress().maxConnections();
    QSpinBox &perServer = progress().perServer();
    QVERIFY(connections.isEnabled());
    QCOMPARE(connections.value(), int(form().project().properties().maxConnections));
    connections.setValue(3);
    // Per server above the whole raises the whole with it.
    perServer.setValue(6);
    QCOMPARE(connections.value(), 6);
    const auto written = [] {
        return eng::client::readProjectProps(engine().Eng_GetProjectProp, engine().Eng_FreeMem)
            .value_or(eng::client::ProjectProps{});
    };
    QTRY_COMPARE_WITH_TIMEOUT(written().maxConnections, uint16_t{6}, 3000);
    QCOMPARE(written().maxPerServer, uint16_t{6});

    // Closed, the fields are disabled; opened again, they show what the engine has.
    form().project().setActive(false);
    QVERIFY(!connections.isEnabled());
    form().project().setActive(true);
    QVERIFY(connections.isEnabled());
    QCOMPARE(connections.value(), int(written().maxConnections));
    QCOMPARE(perServer.value(), int(written().maxPerServer));
}

void ProgressPanesTest::notesFollowTheSelectedTask() {
    TaskRow first;
    first.url = url(QStringLiteral("/index.html"));
    first.note = QStringLiteral("Look at the <b>tables</b>");
    first.folder = kRootFolder;
    first.acceptableAge = -1;
    const int firstId = form().project().createTask(first);
    const int secondId = form().project().createTask(url(QStringLiteral("/a.html")), 0, kRootFolder);
    QVERIFY(firstId > 0 && secondId > 0);
    QPlainTextEdit &notes = progress().notes();
    auto *noTask = progress().findChild<QLabel *>(QStringLiteral("noTask"));
    QCOMPARE(noTask->text(), QStringLiteral("There is no task selected"));

    form().taskList().view().clearSelection();
    QVERIFY(!notes.isEnabled());
    QVERIFY(!noTask->isHidden());
    QVERIFY(form().taskList().selectTask(firstId));
    QCOMPARE(notes.toPlainText(), first.note);
    QVERIFY(notes.isEnabled());
    QVERIFY(noTask->isHidden());

    // Typed notes are stored when another task is selected.
    notes.moveCursor(QTextCursor::End);
    QTest::keyClicks(&notes, QStringLiteral(" first"));
    QVERIFY(form().taskList().selectTask(secondId));
    QCOMPARE(notes.toPlainText(), QString());
    QCOMPARE(form().project().task(firstId)->note, first.note + QStringLiteral(" first"));

    // A change made elsewhere shows at once.
    TaskRow second = *form().project().task(secondId);
    second.note = QStringLiteral("Changed elsewhere");
    QVERIFY(form().project().updateTask(second));
    QTRY_COMPARE_WITH_TIMEOUT(notes.toPlainText(), second.note, 2000);

    form().taskList().view().clearSelection();
    QVERIFY(!notes.isEnabled());
    QCOMPARE(notes.toPlainText(), QString());
    QVERIFY(!noTask->isHidden());
    QCOMPARE(form().project().task(secondId)->note, second.note);
}

void ProgressPanesTest::reportsAreAppliedTogether() {
    DownloadListModel model;
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    // A thousand chunks of two downloads, and one that starts and ends in between.
    for (uint32_t chunk = 1; chunk <= 1000; ++chunk) {
        model.take(report(7, ENG_DOWNLOAD_RECEIVING, chunk * 10));
        model.take(report(8, ENG_DOWNLOAD_RECEIVING, chunk * 20));
    }
    model.take(report(9, ENG_DOWNLOAD_STARTED, 0));
    model.take(report(9, ENG_DOWNLOAD_FINISHED, 100));
    QCOMPARE(model.rowCount(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(model.rowCount(), 2, 1000);
    QCOMPARE(inserted.count(), 2);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(model.index(0, DownloadListModel::Received).data().toString(), QStringLiteral("10,000"));
    QCOMPARE(model.index(1, DownloadListModel::Received).data().toString(), QStringLiteral("20,000"));
    QCOMPARE(model.index(1, DownloadListModel::Percent).data().toString(), QStringLiteral("20%"));

    // The first ends: the second moves up and is numbered 1.
    model.take(report(7, ENG_DOWNLOAD_FINISHED, 10000));
    model.apply();
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.download(0).resource, 8u);
    QCOMPARE(model.index(0, DownloadListModel::Number).data().toInt(), 1);
    model.take(report(8, ENG_DOWNLOAD_RECEIVING, 30000));
    model.clear();
    model.apply();
    QCOMPARE(model.rowCount(), 0);
}

void ProgressPanesTest::helpExplainsThePanes() {
    statistic().command(QStringLiteral("Help"))->trigger();
    auto *help = qobject_cast<BrowserForm *>(form().findChild<QTabWidget *>()->currentWidget());
    QVERIFY(help);
    QTRY_COMPARE_WITH_TIMEOUT(help->page()->title(), QStringLiteral("Progress and statistics"), 10000);
    QCOMPARE(help->page()->url(), QUrl(QStringLiteral("qzinfo://help/source/progress.html")));
}

SITELARK_GUI_TEST_MAIN(ProgressPanesTest)
#include "ProgressPanesTest.moc"
