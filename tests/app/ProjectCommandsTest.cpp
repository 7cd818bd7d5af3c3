// The main window's project commands on the crawled site (its server
// stopped): repair, close and reopen, the project's properties, the offers
// to go online and to queue again what the connection lost, clear and compact.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "KestProject.h"
#include "MainForm.h"
#include "ModalAnswers.h"
#include "ProjectTemplate.h"

using namespace gui_test;

class ProjectCommandsTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::Crawled, GuiFixture::Server::Stopped); }
    void init() { fixture_.setUp(); }
    void cleanup() { fixture_.tearDown(); }

    void aProjectCutInHalfIsRepairedFromTheMenuAndOpens();
    void theProjectClosesAndReopensFromTheRecentList();
    void theProjectsTextsSurviveGoingOnlineAndWritingItsProperties();
    void reopenedWithQueuedPagesItOffersToGoOnlineOnce();
    void goingOnlineOffersToQueueWhatTheConnectionLost();
    void clearEmptiesTheProjectAndCompactReportsSuccess();
};

void ProjectCommandsTest::aProjectCutInHalfIsRepairedFromTheMenuAndOpens() {
    const QString site = form().project().fileName(), damaged = fixture_.workPath(QStringLiteral("damaged.slk"));
    QVERIFY(QFile::copy(fixture_.preparedProject(), damaged));
    const std::filesystem::path file = damaged.toStdString();
    std::filesystem::resize_file(file, std::filesystem::file_size(file) / 2);
    QVERIFY(larkOutput({QStringLiteral("info"), damaged}).isEmpty());  // unreadable as it is
    answerFileDialog(damaged);
    QString told;
    answerMessageBox(QMessageBox::Ok, &told);
    fixture_.triggerMenuCommand(QStringLiteral("Repair Database"));
    QCOMPARE(told, QStringLiteral("Operation completed successfully."));
    QVERIFY(QFile::exists(damaged + QStringLiteral(".damaged")));  // what was damaged is kept
    QVERIFY(!larkOutput({QStringLiteral("info"), damaged}).isEmpty());
    form().openFile(damaged);
    QVERIFY(form().project().active());
    QCOMPARE(form().project().fileName(), damaged);
    screenshot(&form(), QStringLiteral("repaired-project.png"));
    form().openFile(site);
    QVERIFY(form().project().active());
}

void ProjectCommandsTest::theProjectClosesAndReopensFromTheRecentList() {
    form().project().setRunning(false);
    QCOMPARE(form().windowTitle(), QStringLiteral("Sitelark - site - [OFFLINE]"));
    const QString path = form().project().fileName();
    form().project().setActive(false);
    QVERIFY(!form().project().active());
    QCOMPARE(form().windowTitle(), QStringLiteral("Sitelark"));
    QVERIFY(form().recentProjects().contains(path));
    QToolTip::hideText();
    QTRY_VERIFY(QToolTip::text().isEmpty());                       // the hint of the first opening is gone
    fixture_.triggerMenuCommand(form().recentProjects().first());  // the Reopen menu's entry
    QVERIFY(form().project().active());
    QCOMPARE(form().windowTitle(), QStringLiteral("Sitelark - site - [OFFLINE]"));
    // Nothing is left to download: a hint points at the command that goes online.
    QTRY_COMPARE_WITH_TIMEOUT(QToolTip::text(), QStringLiteral("Click here to go online"), 5000);
}

void ProjectCommandsTest::theProjectsTextsSurviveGoingOnlineAndWritingItsProperties() {
    const QString site = form().project().fileName(), other = fixture_.workPath(QStringLiteral("noted.slk"));
    larkOutput({QStringLiteral("new"), other});
    larkOutput({QStringLiteral("props"), other, QStringLiteral("--set"), QStringLiteral("note=kept note"),
                QStringLiteral("--set"), QStringLiteral("filter=-*.zip"), QStringLiteral("--set"),
                QStringLiteral("user-text=kept text")});
    form().openFile(other);
    QVERIFY(form().project().active());
    const eng::client::ProjectProps &read = form().project().properties();
    QCOMPARE(QString::fromStdString(read.note), QStringLiteral("kept note"));
    QCOMPARE(QString::fromStdString(read.filter), QStringLiteral("-*.zip"));
    form().project().setRunning(true);
    form().project().setRunning(false);
    form().project().setProjectOptions(ENG_OPTION_NO_OFFLINE_ENQUEUE);
    QVERIFY(form().project().writeProperties());
    form().project().setActive(false);
    const QString shown = larkOutput({QStringLiteral("props"), other});
    for (const char *kept : {"options      0x00000001", "kept note", "-*.zip", "kept text"})
        QVERIFY2(shown.contains(QString::fromLatin1(kept)), qPrintable(shown));
    form().openFile(site);
    QVERIFY(form().project().active());
}

void ProjectCommandsTest::reopenedWithQueuedPagesItOffersToGoOnlineOnce() {
    QVERIFY(!form().project().running());
    QVERIFY(form().project().createUrlRes(url(QStringLiteral("/queued.html")), QString(), 0) != 0);
    const QString path = form().project().fileName();
    form().project().setActive(false);
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
    form().openFile(path);
    QTRY_COMPARE_WITH_TIMEOUT(asked, 1, 10000);
    QCOMPARE(question,
             QStringLiteral("The project contains incomplete tasks. Do you want to go online and download them now?"));
    QVERIFY(!form().options().showOnlinePrompt2);  // the box was ticked
    QVERIFY(!form().project().running());
    QTest::qWait(2500);  // later statistics ask nothing
    QCOMPARE(asked, 1);
}

void ProjectCommandsTest::goingOnlineOffersToQueueWhatTheConnectionLost() {
    // The page on the server that is down failed for the connection.
    const int failed = form().project().refreshableCount();
    QVERIFY(failed > 0);
    QSignalSpy changed(&form().project(), &KestProject::itemChanged);
    QString asked;
    answerMessageBox(QMessageBox::Yes, &asked);
    fixture_.triggerMenuCommand(QStringLiteral("Go Online"));
    QCOMPARE(asked,
             QString::number(failed) + QStringLiteral(" files could not be retrieved because of temporary Internet "
                                                      "connection errors.\r\nDo you want these files to be "
                                                      "queued for next download?"));
    QVERIFY(form().project().running());
    // Yes queued them again, so each changed state; answered No, none would.
    QTRY_VERIFY_WITH_TIMEOUT(changed.count() >= failed, 10000);
    fixture_.triggerMenuCommand(QStringLiteral("Go Offline"));
    QVERIFY(!form().project().running());
}

void ProjectCommandsTest::clearEmptiesTheProjectAndCompactReportsSuccess() {
    QVERIFY(stored(url(QStringLiteral("/index.html"))));
    QString asked;
    answerMessageBox(QMessageBox::Ok, &asked);
    fixture_.triggerMenuCommand(QStringLiteral("Clear"));
    QCOMPARE(asked, QStringLiteral("Clear this project ?"));
    QVERIFY(form().project().active());
    QVERIFY(!stored(url(QStringLiteral("/index.html"))));

    // Compacting another, closed project file.
    const QString other = fixture_.workPath(QStringLiteral("other.slk"));
    eng::writeNewProject(other.toStdString());
    answerFileDialog(other);
    QString said;
    answerMessageBox(QMessageBox::Ok, &said);
    fixture_.triggerMenuCommand(QStringLiteral("Compact Database"));
    QTRY_COMPARE_WITH_TIMEOUT(said, QStringLiteral("Operation completed successfully."), 5000);
}

SITELARK_GUI_TEST_MAIN(ProjectCommandsTest)

#include "ProjectCommandsTest.moc"
