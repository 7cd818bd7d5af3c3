// The program's start under a real display: a first start with fresh
// settings, the project it makes downloading the site, and a start from the
// command line that goes online and quits.

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>

#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "MainForm.h"
#include "ModalAnswers.h"
#include "ProjectTemplate.h"
#include "StoredResource.h"
#include "dialogs/TaskFilterOptionsDialog.h"

using namespace gui_test;

class StartupTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::None); }
    void init() { fixture_.setUp(GuiFixture::Window::Empty); }
    void cleanup() { fixture_.tearDown(); }

    void firstStartCreatesAProjectAndGoesOnline();
    void aTaskForTheSiteIsDownloaded();
    void theCommandLineOpensAProjectGoesOnlineAndQuitsWhenDone();
};

void StartupTest::firstStartCreatesAProjectAndGoesOnline() {
    MainForm &form = fixture_.form();
    const QString path = fixture_.projectPath();
    answerFileDialog(path);
    form.start();  // a first start runs New Project
    QVERIFY(form.project().active());
    QCOMPARE(form.project().fileName(), path);
    QVERIFY(form.project().running());
    QCOMPARE(form.windowTitle(), QStringLiteral("Sitelark - site - [ONLINE]"));
    // Project files open with the program.
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    QVERIFY(QFile::exists(data + QStringLiteral("/applications/sitelark.desktop")));
    QFile mime(data + QStringLiteral("/mime/packages/sitelark.xml"));
    QVERIFY(mime.open(QIODevice::ReadOnly));
    QVERIFY(mime.readAll().contains("<glob pattern=\"*.slk\"/>"));
}

void StartupTest::aTaskForTheSiteIsDownloaded() {
    MainForm &form = fixture_.form();
    eng::writeNewProject(fixture_.projectPath().toStdString());
    form.openFile(fixture_.projectPath());
    QVERIFY(form.project().active());
    form.project().setRunning(true);
    form.findChild<QLineEdit *>(QStringLiteral("address"))->setText(fixture_.url(QStringLiteral("/index.html")));
    form.findChild<QSpinBox *>(QStringLiteral("depth"))->setValue(2);
    // Following links, the task keeps to the start page's folder, as the dialog proposes.
    QString kept;
    whenOpen<TaskFilterOptionsDialog>([&kept](TaskFilterOptionsDialog *dialog) {
        kept = dialog->entry().expression;
        dialog->accept();
    });
    form.findChild<QAction *>(QStringLiteral("acGet"))->trigger();
    QCOMPARE(kept, QStringLiteral("http://*127.0.0.1:%1/*").arg(QUrl(fixture_.url({})).port()));
    QTRY_VERIFY_WITH_TIMEOUT(
        form.project().statistics().itemsRetrieved >= 4 && form.project().statistics().itemsRemaining == 0, 30000);
    QVERIFY(stored(fixture_.url(QStringLiteral("/images/logo.png"))));
    // The status bar counts what the engine last said.
    const StatProgress &counted = form.project().statistics();
    QStringList shown;
    for (const QLabel *label : form.statusBar()->findChildren<QLabel *>()) shown << label->text();
    QVERIFY2(shown.contains(QStringLiteral("Retrieved %1, queued 0, errors %2, %3 bytes")
                                .arg(counted.itemsRetrieved)
                                .arg(counted.errors)
                                .arg(counted.bytesRetrieved)),
             qPrintable(shown.join(u'|')));
    // What a link hint says of a stored page.
    const auto size = std::filesystem::file_size(fixture_.siteRoot() / "page2.html");
    QCOMPARE(storedResource(fixture_.url(QStringLiteral("/page2.html")))->hint(),
             QStringLiteral("Retrieved %1 bytes").arg(size));
}

void StartupTest::theCommandLineOpensAProjectGoesOnlineAndQuitsWhenDone() {
    const QString path = fixture_.projectPath();
    eng::writeNewProject(path.toStdString());
    fixture_.closeForm();  // one project per process
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

SITELARK_GUI_TEST_MAIN(StartupTest)

#include "StartupTest.moc"
