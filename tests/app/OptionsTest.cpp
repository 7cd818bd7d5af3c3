// The program's options and the project's properties, over the crawled site
// with its server stopped: every option kept over a restart, the dialogs'
// pages, the engine using the connections, time-out and proxy they set, the
// project's own properties kept in its file, and the program's own pages
// opening the dialogs.

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "EngineLibrary.h"
#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "KestProject.h"
#include "MainForm.h"
#include "ModalAnswers.h"
#include "PageScripts.h"
#include "ProjectProps.h"
#include "StoredResource.h"
#include "base/SettingsStore.h"
#include "dialogs/FilterEditor.h"
#include "dialogs/FilterText.h"
#include "options/HostList.h"
#include "options/OptionFields.h"
#include "options/OptionsDialog.h"
#include "options/OptionsText.h"
#include "options/PingOptionsPage.h"
#include "options/ProjectPropertiesDialog.h"
#include "support/ScriptedHttpServer.h"
#include "views/ProgressFrame.h"
#include "views/StatFrame.h"

using namespace gui_test;

namespace {

template <typename Widget>
Widget *withText(QWidget *parent, const QString &text) {
    for (Widget *widget : parent->findChildren<Widget *>())
        if (widget->text() == text) return widget;
    qWarning("no widget says %s", qPrintable(text));
    return nullptr;
}

// The field that the label names.
template <typename Field>
Field *labelled(QWidget *parent, const QString &label) {
    QLabel *found = withText<QLabel>(parent, label);
    return found ? qobject_cast<Field *>(found->buddy()) : nullptr;
}

QLineEdit *field(QWidget *parent, const QString &name) { return parent->findChild<QLineEdit *>(name); }

// Calls the work with the next dialog of the type once it is open, and
// closes the dialog after it whatever the work did (a failed check ends it early).
template <typename Dialog>
void whenShown(const std::function<void(Dialog *)> &work) {
    whenOpen<Dialog>([work](Dialog *dialog) {
        work(dialog);
        if (dialog->isVisible()) dialog->reject();
    });
}

// The editor of the host name being edited (editors closed before may linger hidden).
QLineEdit *hostEditor(PingOptionsPage *page) {
    for (QLineEdit *editor : page->hosts()->viewport()->findChildren<QLineEdit *>())
        if (editor->isVisible()) return editor;
    qWarning("no host name is edited");
    return nullptr;
}

// The project's properties as the engine has them now.
eng::client::ProjectProps engineProperties() {
    return eng::client::readProjectProps(engine().Eng_GetProjectProp, engine().Eng_FreeMem)
        .value_or(eng::client::ProjectProps{});
}

}  // namespace

class OptionsTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::Crawled, GuiFixture::Server::Stopped); }
    void init() { fixture_.setUp(); }
    void cleanup();

    void everyOptionIsKeptOverARestart();
    void theDialogsPagesStoreTheirFieldsAndShowThemAgain();
    void aProxyTextSplitsIntoFourPartsOrNone();
    void aProxyTheEngineRefusesKeepsTheDialogOpen();
    void theEngineFetchesThroughTheProxy();
    void theEngineKeepsToTheConnectionsPerServer();
    void aServerThatNeverAnswersHitsTheTimeOut();
    void pingHostsAreEditedAndGivenToTheProjectAtOnce();
    void projectPropertiesAreKeptWithTheProject();
    void aMalformedProjectFilterIsRefusedAndNotSaved();
    void theStatusPagesLinksOpenTheDialogs();
    void theLowDiskBoxOpensTheOptions();
    void thePanesOpenTheOptionsAndTheirLimitsAreKept();
    void theProgramsTemporaryFoldersGoWithIt();

private:
    // Opens the Options dialog on the page through the program, lets the
    // handler work on it, and presses OK.
    void runOptions(OptionsDialog::Page page, const std::function<void(OptionsDialog *)> &work);
    // Restarts the program with the settings it left.
    void restart();
    std::unique_ptr<MainForm> restarted_;
};

void OptionsTest::cleanup() {
    if (restarted_) restarted_->close();
    restarted_.reset();
    fixture_.tearDown();
}

void OptionsTest::runOptions(OptionsDialog::Page page, const std::function<void(OptionsDialog *)> &work) {
    bool worked = false;
    whenShown<OptionsDialog>([&](OptionsDialog *dialog) {
        work(dialog);
        worked = true;
        dialog->accept();
    });
    MainForm &shown = restarted_ ? *restarted_ : form();
    shown.showOptions(page);
    QVERIFY(worked);
}

void OptionsTest::restart() {
    if (restarted_) restarted_->close();
    restarted_.reset();
    fixture_.closeForm();
    restarted_ = std::make_unique<MainForm>(QStringList{QStringLiteral("Sitelark")});
    restarted_->show();
    QVERIFY(QTest::qWaitForWindowExposed(restarted_.get()));
}

void OptionsTest::everyOptionIsKeptOverARestart() {
    // Every option away from its default: flags turned, numbers one more,
    // texts with a quote and a line end, the next view style.
    ProgramOptions &options = form().options();
    visitOptionFields(options, [](const char *name, auto &&field) {
        using Field = std::remove_cvref_t<decltype(field)>;
        if constexpr (std::is_same_v<Field, bool>)
            field = !field;
        else if constexpr (std::is_same_v<Field, QString>)
            field = QLatin1String(name) + QStringLiteral(" o'neil\r\n");
        else if constexpr (std::is_same_v<Field, ViewStyleField>)
            field.style = (field.style + 1) % 4;
        else
            field += 1;
    });
    const QStringList changed = optionsText(options), defaults = optionsText(ProgramOptions{});
    for (int k = 1; k + 1 < changed.size(); ++k) QVERIFY2(changed[k] != defaults[k], qPrintable(changed[k]));
    restart();
    QCOMPARE(optionsText(restarted_->options()), changed);
    // A program with nothing stored has the defaults, and a project folder.
    restarted_->close();
    restarted_.reset();
    QVERIFY(QFile::remove(QString::fromStdString(eng::SettingsStore::defaultFile())));
    restart();
    ProgramOptions expected;
    expected.projectFolder = restarted_->options().projectFolder;
    QCOMPARE(optionsText(restarted_->options()), optionsText(expected));
    QVERIFY2(expected.projectFolder.endsWith(QStringLiteral("/EV_Projects/")), qPrintable(expected.projectFolder));
}

void OptionsTest::theDialogsPagesStoreTheirFieldsAndShowThemAgain() {
    runOptions(OptionsDialog::General, [](OptionsDialog *dialog) {
        QVERIFY(!dialog->applyButton()->isEnabled());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Options"));
        // The default time-out shows as it is, up to the engine's limit: OK alone must not change it.
        auto *timeOut = labelled<QSpinBox>(dialog, QStringLiteral("Timeout (sec.):"));
        QCOMPARE(timeOut->value(), ProgramOptions{}.timeOut);
        QCOMPARE(timeOut->maximum(), 600);
        timeOut->setValue(45);
        QVERIFY(dialog->applyButton()->isEnabled());
        labelled<QSpinBox>(dialog, QStringLiteral("Max retries:"))->setValue(7);
        labelled<QSpinBox>(dialog, QStringLiteral("Max connections per server:"))->setValue(4);
        labelled<QSpinBox>(dialog, QStringLiteral("Max connections:"))->setValue(9);
        labelled<QSpinBox>(dialog, QStringLiteral("Pause between connection:"))->setValue(3);
        withText<QCheckBox>(dialog, QStringLiteral("Open new project"))->setChecked(true);
        withText<QCheckBox>(dialog, QStringLiteral("Stop if free disk space drops below"))->setChecked(false);
        QVERIFY(!field(dialog, QStringLiteral("diskSize"))->isEnabled());
        withText<QCheckBox>(dialog, QStringLiteral("Whenever possible, retrieve files from Internet Explorer cache"))
            ->setChecked(false);
        withText<QRadioButton>(dialog, QStringLiteral("Use proxy:"))->click();
        QVERIFY(withText<QCheckBox>(dialog, QStringLiteral("Use the same for both protocols"))->isChecked());
        QTest::keyClicks(field(dialog, QStringLiteral("httpServer")), QStringLiteral("proxy.test"));
        field(dialog, QStringLiteral("httpPort"))->setText(QStringLiteral("8080"));
        QCOMPARE(field(dialog, QStringLiteral("ftpServer"))->text(), QStringLiteral("proxy.test"));  // the same
        QCOMPARE(field(dialog, QStringLiteral("ftpPort"))->text(), QStringLiteral("8080"));
        withText<QCheckBox>(dialog, QStringLiteral("Open browser windows in tabs"))->setChecked(false);
        withText<QCheckBox>(dialog, QStringLiteral("Displays a hint"))->setChecked(true);
        withText<QCheckBox>(dialog, QStringLiteral("Allow scripts to hide browser toolbars and menus"))
            ->setChecked(false);
        // "Apply" stores and applies; the project took them, so it is disabled again.
        dialog->applyButton()->click();
        QVERIFY(!dialog->applyButton()->isEnabled());
    });
    const ProgramOptions &options = form().options();
    QCOMPARE(options.timeOut, 45);
    QCOMPARE(options.retries, 7);
    QCOMPARE(options.maxConnPerServ, 4);
    QCOMPARE(options.maxConnections, 9);
    QCOMPARE(options.pauseBetwConn, 3);
    QVERIFY(options.openNewProjectAtStart);
    QCOMPARE(options.diskSize, ProgramOptions::kNoDiskLimit);
    QVERIFY(!options.retrieveFromIECache);
    QCOMPARE(options.accessType, 3);
    QCOMPARE(options.httpProxy, QStringLiteral("proxy.test:8080::"));
    QCOMPARE(options.ftpProxy, QStringLiteral("proxy.test:8080::"));
    QVERIFY(!options.openBrowserInTabs);
    QVERIFY(options.showHintOnLinks);
    QVERIFY(!options.autoHideMenu);
    // The project has its part of them.
    const eng::client::ProjectProps project = engineProperties();
    QCOMPARE(project.timeout, 45);
    QCOMPARE(project.retries, 7);
    QCOMPARE(project.maxPerServer, 4);
    QCOMPARE(project.maxConnections, 9);
    QCOMPARE(project.pause, 3);
    QCOMPARE(project.proxyAccess, 3u);
    QCOMPARE(project.httpProxy, std::string("proxy.test:8080"));
    QCOMPARE(project.optionFlags & ENG_OPTION_BROWSER_CACHE, 0u);

    restart();
    // Opening a project later gives it the options too.
    restarted_->openFile(fixture_.projectPath());
    QCOMPARE(engineProperties().timeout, 45);
    const char *const names[] = {"options-general.png", "options-proxy.png", "options-ping.png", "options-browser.png"};
    for (int page = OptionsDialog::General; page <= OptionsDialog::Browser; ++page) {
        whenShown<OptionsDialog>([&](OptionsDialog *dialog) {
            QCOMPARE(dialog->pages()->currentIndex(), page);
            if (page == OptionsDialog::General) {
                QVERIFY(
                    !withText<QCheckBox>(dialog, QStringLiteral("Stop if free disk space drops below"))->isChecked());
                QVERIFY(!field(dialog, QStringLiteral("diskSize"))->isEnabled());
                QCOMPARE(field(dialog, QStringLiteral("diskSize"))->text(), QStringLiteral("300"));
                QCOMPARE(labelled<QSpinBox>(dialog, QStringLiteral("Timeout (sec.):"))->value(), 45);
            }
            if (page == OptionsDialog::Proxy) {
                QVERIFY(withText<QRadioButton>(dialog, QStringLiteral("Use proxy:"))->isChecked());
                QCOMPARE(field(dialog, QStringLiteral("httpServer"))->text(), QStringLiteral("proxy.test"));
                QVERIFY(!field(dialog, QStringLiteral("ftpServer"))->isEnabled());
            }
            if (page == OptionsDialog::Browser)
                QVERIFY(!withText<QCheckBox>(dialog, QStringLiteral("Open browser windows in tabs"))->isChecked());
            screenshot(dialog, QString::fromLatin1(names[page]));
            dialog->reject();
        });
        restarted_->showOptions(page);
    }
}

void OptionsTest::aProxyTextSplitsIntoFourPartsOrNone() {
    form().options().accessType = 3;
    form().options().httpProxy = QStringLiteral("proxy.test:3128:ann:pw");
    form().options().ftpProxy = QStringLiteral("proxy.test:3128:ann");
    whenShown<OptionsDialog>([](OptionsDialog *dialog) {
        QCOMPARE(field(dialog, QStringLiteral("httpServer"))->text(), QStringLiteral("proxy.test"));
        QCOMPARE(field(dialog, QStringLiteral("httpPort"))->text(), QStringLiteral("3128"));
        QCOMPARE(field(dialog, QStringLiteral("httpUser"))->text(), QStringLiteral("ann"));
        QCOMPARE(field(dialog, QStringLiteral("httpPassword"))->text(), QStringLiteral("pw"));
        for (const char *part : {"ftpServer", "ftpPort", "ftpUser", "ftpPassword"})
            QVERIFY(field(dialog, QLatin1String(part))->text().isEmpty());
        // They differ, so the FTP row is the user's own.
        QVERIFY(!withText<QCheckBox>(dialog, QStringLiteral("Use the same for both protocols"))->isChecked());
        QVERIFY(field(dialog, QStringLiteral("ftpServer"))->isEnabled());
        dialog->reject();
    });
    form().showOptions(OptionsDialog::Proxy);
}

void OptionsTest::aProxyTheEngineRefusesKeepsTheDialogOpen() {
    bool worked = false;
    QString told;
    whenShown<OptionsDialog>([&](OptionsDialog *dialog) {
        withText<QRadioButton>(dialog, QStringLiteral("Use proxy:"))->click();
        withText<QCheckBox>(dialog, QStringLiteral("Use the same for both protocols"))->setChecked(false);
        field(dialog, QStringLiteral("httpServer"))->setText(QStringLiteral("127.0.0.1"));
        field(dialog, QStringLiteral("httpPort"))->setText(QStringLiteral("3128"));
        answerMessageBox(QMessageBox::Ok, &told);
        dialog->accept();  // no FTP proxy: the project refuses them
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->applyButton()->isEnabled());
        QTRY_COMPARE(told, QStringLiteral("You must specify both proxy servers!"));
        worked = true;
    });
    form().showOptions(OptionsDialog::Proxy);
    QVERIFY(worked);
}

void OptionsTest::theEngineFetchesThroughTheProxy() {
    test::ScriptedHttpServer proxy;
    proxy.answer(
        test::httpResponse(200, "OK", "<html><body>through the proxy</body></html>", {"Content-Type: text/html"}));
    runOptions(OptionsDialog::Proxy, [&proxy](OptionsDialog *dialog) {
        withText<QRadioButton>(dialog, QStringLiteral("Use proxy:"))->click();
        field(dialog, QStringLiteral("httpServer"))->setText(QStringLiteral("127.0.0.1"));
        field(dialog, QStringLiteral("httpPort"))->setText(QString::number(proxy.port()));
    });
    QCOMPARE(engineProperties().httpProxy, "127.0.0.1:" + std::to_string(proxy.port()));
    KestProject &project = form().project();
    QVERIFY(project.createTask(QStringLiteral("http://sitelark.test/through.html"), 0, 1) > 0);
    project.setRunning(true);
    QVERIFY(proxy.waitForRequests(1, std::chrono::seconds(20)));
    const std::string request = proxy.requests().front();
    QVERIFY2(request.starts_with("GET http://sitelark.test/through.html HTTP/1.0\r\n"), request.c_str());
    QTRY_VERIFY_WITH_TIMEOUT(stored(QStringLiteral("http://sitelark.test/through.html")), 20000);
}

void OptionsTest::theEngineKeepsToTheConnectionsPerServer() {
    test::ScriptedHttpServer server;
    for (int k = 0; k < 3; ++k) server.silent();
    runOptions(OptionsDialog::General, [](OptionsDialog *dialog) {
        labelled<QSpinBox>(dialog, QStringLiteral("Max connections:"))->setValue(5);
        labelled<QSpinBox>(dialog, QStringLiteral("Max connections per server:"))->setValue(1);
    });
    KestProject &project = form().project();
    for (const char *path : {"/a.html", "/b.html", "/c.html"})
        QVERIFY(project.createTask(QString::fromStdString(server.url(path)), 0, 1) > 0);
    project.setRunning(true);
    QVERIFY(server.waitForRequests(1, std::chrono::seconds(20)));
    QTest::qWait(1500);
    QCOMPARE(server.connections(), size_t(1));
    // Three per server: the other two start at once.
    runOptions(OptionsDialog::General, [](OptionsDialog *dialog) {
        labelled<QSpinBox>(dialog, QStringLiteral("Max connections per server:"))->setValue(3);
    });
    QVERIFY(server.waitForRequests(3, std::chrono::seconds(20)));
    QCOMPARE(server.connections(), size_t(3));
}

void OptionsTest::aServerThatNeverAnswersHitsTheTimeOut() {
    test::ScriptedHttpServer server;
    server.silent();
    runOptions(OptionsDialog::General, [](OptionsDialog *dialog) {
        labelled<QSpinBox>(dialog, QStringLiteral("Timeout (sec.):"))->setValue(2);
        labelled<QSpinBox>(dialog, QStringLiteral("Max retries:"))->setValue(0);
    });
    KestProject &project = form().project();
    const QString address = QString::fromStdString(server.url("/never.html"));
    QVERIFY(project.createTask(address, 0, 1) > 0);
    project.setRunning(true);
    QVERIFY(server.waitForRequests(1, std::chrono::seconds(20)));
    // Two seconds without an answer end the fetch as failed (the engine's own
    // time-out is two minutes).
    QTRY_VERIFY_WITH_TIMEOUT(stored(address), 15000);
    QVERIFY(storedResource(address)->failed);
}

void OptionsTest::pingHostsAreEditedAndGivenToTheProjectAtOnce() {
    KestProject &project = form().project();
    bool worked = false;
    whenShown<OptionsDialog>([&](OptionsDialog *dialog) {
        PingOptionsPage *page = dialog->pingPage();
        QCOMPARE(dialog->pages()->currentWidget(), page);
        QPushButton *add = withText<QPushButton>(page, QStringLiteral("Add"));
        QVERIFY(!add->isEnabled());
        withText<QCheckBox>(page, QStringLiteral("Enable ping"))->setChecked(true);
        QVERIFY(add->isEnabled());
        add->click();
        QVERIFY(page->editing());
        QLineEdit *editor = hostEditor(page);
        QVERIFY(editor);
        editor->setText(QStringLiteral("127.0.0.1"));
        QTest::keyClick(editor, Qt::Key_Return);  // the name is taken once the key is served
        QTRY_COMPARE(project.pingHosts(), QStringLiteral("127.0.0.1\r\n"));
        QCOMPARE(page->hosts()->topLevelItem(0)->text(1), QStringLiteral("Not available"));
        // An empty name is refused, and edited again.
        QString told;
        answerMessageBox(QMessageBox::Ok, &told);
        add->click();
        hostEditor(page)->clear();
        QTest::keyClick(hostEditor(page), Qt::Key_Return);
        QTRY_COMPARE(told, QStringLiteral("Invalid host name."));
        QTRY_VERIFY(page->editing());
        QCOMPARE(page->hosts()->topLevelItem(1)->text(0), QStringLiteral("host.name"));
        // OK while a name is edited gives up the edit, and the dialog stays.
        dialog->accept();
        QVERIFY(dialog->isVisible());
        QVERIFY(!page->editing());
        page->hosts()->setCurrentItem(page->hosts()->topLevelItem(1));
        withText<QPushButton>(page, QStringLiteral("Remove"))->click();
        QCOMPARE(project.pingHosts(), QStringLiteral("127.0.0.1\r\n"));
        // The engine pings the host, and loopback answers: "time<10 ms", or its time when slower.
        const auto answered = [page] {
            return QRegularExpression(QStringLiteral("^(time<10|[1-9][0-9]+) ms$"))
                .match(page->hosts()->topLevelItem(0)->text(1))
                .hasMatch();
        };
        QTRY_VERIFY_WITH_TIMEOUT(answered(), 15000);
        screenshot(dialog, QStringLiteral("options-ping-answering.png"));
        worked = true;
        dialog->accept();
    });
    form().showOptions(OptionsDialog::Ping);
    QVERIFY(worked);
    QVERIFY(form().options().enablePing);
    QCOMPARE(form().options().pingHosts, QStringLiteral("127.0.0.1\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(project.pingState(), 1, 15000);
}

void OptionsTest::projectPropertiesAreKeptWithTheProject() {
    const QString note = QStringLiteral("kept <b>note</b>\nsecond line");
    bool worked = false;
    whenShown<ProjectPropertiesDialog>([&](ProjectPropertiesDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Project properties"));
        QCOMPARE(dialog->pages()->currentIndex(), int(ProjectPropertiesDialog::General));
        QCOMPARE(dialog->sizeLabel()->text(), projectSizeText(fixture_.projectPath()));
        QVERIFY(dialog->sizeLabel()->text().contains(u','));
        QVERIFY(dialog->enqueueOffline()->isChecked());
        screenshot(dialog, QStringLiteral("properties-general.png"));
        dialog->enqueueOffline()->setChecked(false);
        dialog->pages()->setCurrentIndex(ProjectPropertiesDialog::Filters);
        FilterEditor *filter = dialog->filterEditor();
        filter->patternMode()->setChecked(true);
        filter->patterns()->setPlainText(QStringLiteral("*sitelark* and not *.zip"));
        screenshot(dialog, QStringLiteral("properties-filters.png"));
        dialog->pages()->setCurrentIndex(ProjectPropertiesDialog::Notes);
        dialog->note()->setPlainText(note);
        screenshot(dialog, QStringLiteral("properties-notes.png"));
        worked = true;
        dialog->accept();
    });
    form().findChild<QAction *>(QStringLiteral("acProjectProperties"))->trigger();
    QVERIFY(worked);
    const QByteArray filter = composeFilter({{filter_masks::kLinks, 0, 0, QStringLiteral("*sitelark* and not *.zip")}});
    const auto check = [&](const char *when) {
        const eng::client::ProjectProps stored = engineProperties();
        QVERIFY2(stored.optionFlags & ENG_OPTION_NO_OFFLINE_ENQUEUE, when);
        QVERIFY2(stored.optionFlags & ENG_OPTION_BROWSER_CACHE, when);  // as the options set it
        QCOMPARE(QString::fromStdString(stored.note), note);
        QCOMPARE(QByteArray::fromStdString(stored.filter), filter);
    };
    check("written");
    form().project().setActive(false);
    form().openFile(fixture_.projectPath());
    check("reopened");
    form().project().setActive(false);  // the project file is the program's while open
    const QString props = larkOutput({QStringLiteral("props"), fixture_.projectPath()});
    QVERIFY2(props.contains(QStringLiteral("kept <b>note</b>")), qPrintable(props));
}

void OptionsTest::aMalformedProjectFilterIsRefusedAndNotSaved() {
    bool worked = false;
    whenShown<ProjectPropertiesDialog>([&](ProjectPropertiesDialog *dialog) {
        QCOMPARE(dialog->pages()->currentIndex(), int(ProjectPropertiesDialog::Filters));
        dialog->note()->setPlainText(QStringLiteral("not to be kept"));
        dialog->filterEditor()->patternMode()->setChecked(true);
        dialog->filterEditor()->patterns()->setPlainText(QStringLiteral("(*sitelark* or *.test"));
        QString told;
        answerMessageBox(QMessageBox::Ok, &told);
        dialog->accept();
        QCOMPARE(told, QStringLiteral("Filter error: No closing bracket"));
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->pages()->currentIndex(), int(ProjectPropertiesDialog::Filters));
        worked = true;
        dialog->reject();
    });
    form().showProjectProperties(ProjectPropertiesDialog::Filters);
    QVERIFY(worked);
    QVERIFY(engineProperties().filter.empty());
    QVERIFY(engineProperties().note.empty());
    form().project().setActive(false);
    form().openFile(fixture_.projectPath());
    QVERIFY(engineProperties().filter.empty());
}

void OptionsTest::theStatusPagesLinksOpenTheDialogs() {
    KestProject &project = form().project();
    project.setProjectOptions(project.projectOptions() | ENG_OPTION_NO_OFFLINE_ENQUEUE);
    QVERIFY(project.writeProperties());
    QWebEnginePage *page = fixture_.showInBrowser(url(QStringLiteral("/never-stored.html")));
    QVERIFY2(bodyText(page).contains(QStringLiteral("Enqueue From The Browser")), qPrintable(bodyText(page)));
    QTRY_VERIFY_WITH_TIMEOUT(
        evaluate(page, QStringLiteral("!!(window.external && window.external.CheckPing)")).toBool(), 10000);
    int shown = -1;
    whenShown<ProjectPropertiesDialog>([&shown](ProjectPropertiesDialog *dialog) {
        shown = dialog->pages()->currentIndex();
        dialog->enqueueOffline()->setChecked(true);
        dialog->accept();
    });
    evaluate(page, QStringLiteral("document.querySelector('a[href*=\"ShowProjectOptions\"]').click(); true"));
    QTRY_COMPARE_WITH_TIMEOUT(shown, int(ProjectPropertiesDialog::General), 10000);
    QCOMPARE(engineProperties().optionFlags & ENG_OPTION_NO_OFFLINE_ENQUEUE, 0u);
    for (const auto &[call, expected] :
         {std::pair{"CheckPing", OptionsDialog::Ping}, std::pair{"ShowProxySettings", OptionsDialog::Proxy}}) {
        shown = -1;
        whenShown<OptionsDialog>([&shown](OptionsDialog *dialog) {
            shown = dialog->pages()->currentIndex();
            dialog->reject();
        });
        evaluate(page, QStringLiteral("window.external.%1(); true").arg(QLatin1String(call)));
        QTRY_COMPARE_WITH_TIMEOUT(shown, int(expected), 10000);
    }
}

void OptionsTest::theLowDiskBoxOpensTheOptions() {
    // More free space than any disk here has.
    form().options().diskSize = ProgramOptions::kNoDiskLimit - 1;
    for (QTimer *timer : form().findChildren<QTimer *>())
        if (timer->interval() == 30000) timer->setInterval(100);  // the disk check, soon
    QString told;
    int shown = -1;
    whenOpen<QMessageBox>([&](QMessageBox *box) {
        told = box->text();
        whenShown<OptionsDialog>([&shown](OptionsDialog *dialog) {
            shown = dialog->pages()->currentIndex();
            dialog->reject();
        });
        withText<QAbstractButton>(box, QStringLiteral("&Options .."))->click();
    });
    form().project().setRunning(true);
    QTRY_COMPARE_WITH_TIMEOUT(shown, int(OptionsDialog::General), 10000);
    QVERIFY(told.startsWith(QStringLiteral("The program stopped downloading because free disk space dropped")));
    QVERIFY(!form().project().running());
}

void OptionsTest::thePanesOpenTheOptionsAndTheirLimitsAreKept() {
    ProgressFrame &progress = form().progressFrame();
    const auto link = [&progress](const QString &text) {
        for (QLabel *label : progress.findChildren<QLabel *>())
            if (label->text().contains(u'>' + text + u'<')) return label;
        return static_cast<QLabel *>(nullptr);
    };
    int shown = -1;
    const auto showsPage = [&shown](const std::function<void()> &open, int page) {
        shown = -1;
        whenShown<OptionsDialog>([&shown](OptionsDialog *dialog) { shown = dialog->pages()->currentIndex(); });
        open();
        QTRY_COMPARE(shown, page);
    };
    QVERIFY(link(QStringLiteral("More Options...")) && link(QStringLiteral("Proxy Settings...")));
    showsPage([&] { emit link(QStringLiteral("More Options..."))->linkActivated(QStringLiteral("#")); },
              OptionsDialog::General);
    showsPage([&] { emit link(QStringLiteral("Proxy Settings..."))->linkActivated(QStringLiteral("#")); },
              OptionsDialog::Proxy);
    showsPage([&] { form().statFrame().command(QStringLiteral("Ping Hosts"))->trigger(); }, OptionsDialog::Ping);
    QLabel *ping = form().statFrame().findChild<QLabel *>(QStringLiteral("ping"));
    showsPage([ping] { QTest::mouseClick(ping, Qt::LeftButton); }, OptionsDialog::Ping);
    // The pane's limits are the options' from then on, also for projects opened later.
    progress.maxConnections().setValue(8);
    progress.perServer().setValue(6);
    QTRY_COMPARE(form().options().maxConnPerServ, 6);
    QCOMPARE(form().options().maxConnections, 8);
    QCOMPARE(engineProperties().maxPerServer, 6);
    restart();
    QCOMPARE(restarted_->options().maxConnPerServ, 6);
    restarted_->openFile(fixture_.projectPath());
    QCOMPARE(engineProperties().maxConnections, 8);
}

void OptionsTest::theProgramsTemporaryFoldersGoWithIt() {
    const QDir temp = QDir::temp();
    for (const char *name : {"LarkTMP", "TaskExportTemp", "ItemExportTemp"}) {
        QVERIFY(temp.mkpath(QLatin1String(name) + QStringLiteral("/inner")));
        QFile file(temp.filePath(QLatin1String(name) + QStringLiteral("/inner/page.html")));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    fixture_.closeForm();
    for (const char *name : {"LarkTMP", "TaskExportTemp", "ItemExportTemp"})
        QVERIFY2(!temp.exists(QLatin1String(name)), name);
}

SITELARK_GUI_TEST_MAIN(OptionsTest)

#include "OptionsTest.moc"
