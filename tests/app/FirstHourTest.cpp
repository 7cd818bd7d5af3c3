// A new user's first hour with the program, through its menus, buttons and
// typed text: the first start makes a project where the program proposes,
// the site's address typed into the address bar is downloaded to depth 1
// and agrees with what lark says of the project, the stored site is browsed
// with its server gone, searched, exported into a folder, and the export is
// opened from disk in a browser. Each step leaves a picture in the build
// folder (firsthour-*.png).

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWebEngineView>

#include "BrowserForm.h"
#include "BrowserPage.h"
#include "ExportedCopy.h"
#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "MainForm.h"
#include "ModalAnswers.h"
#include "PageScripts.h"
#include "dialogs/TaskFilterOptionsDialog.h"
#include "items/ItemListFrame.h"
#include "items/ItemListModel.h"
#include "items/ItemWindow.h"
#include "searches/SearchDialog.h"
#include "searches/SearchResultPage.h"
#include "views/TaskListFrame.h"
#include "views/TaskListModel.h"

using namespace gui_test;

namespace {

// The word searched for: the second page has it, and the start page in its link there.
const QString kWord = QStringLiteral("second");

// Double-clicks the row in the middle of its first column, as a user opens it.
void doubleClickRow(QAbstractItemView &view, int row) {
    const QModelIndex index = view.model()->index(row, 0);
    view.scrollTo(index);
    const QPoint middle = view.visualRect(index).center();
    // The view opens a row double-clicked only where the first click pressed.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, middle);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, middle);
}

// Clicks the toolbar button of the command.
void clickButton(QToolBar &bar, QAction *command) {
    auto *button = qobject_cast<QToolButton *>(bar.widgetForAction(command));
    QVERIFY(button);
    QVERIFY(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
}

// Replaces the field's text by the text typed.
void typeInto(QLineEdit *field, const QString &text) {
    QVERIFY(field);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
}

// The lines lark prints, each split into its columns.
QList<QStringList> larkRows(const QStringList &arguments) {
    QList<QStringList> rows;
    const QStringList lines = larkOutput(arguments).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : lines)
        rows << line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    return rows;
}

}  // namespace

class FirstHourTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { fixture_.setUp(GuiFixture::Window::Empty); }
    void cleanup() { fixture_.tearDown(); }

    void aNewUserDownloadsBrowsesSearchesAndExportsASite();

private:
    void makeTheFirstProject();
    void getTheSite();
    void crawlIt();
    void compareWithLark();
    void browseOffline();
    void searchIt();
    void exportIt();
    void openTheExport();

    QAbstractItemView &taskRows() const { return form().taskList().shownView(); }
    SearchResultPage *lastSearchPage() const;

    QTemporaryDir home_;  // the user's documents folder is in it, not made yet
    QString project_;
    QStringList fetched_;  // the addresses of the task's files
    QStringList larkFinds_;
    QString exported_;
};

void FirstHourTest::initTestCase() {
    // A fresh machine: the documents folder has no project folder in it yet.
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    QVERIFY(QDir().mkpath(config));
    QFile places(config + QStringLiteral("/user-dirs.dirs"));
    QVERIFY(places.open(QIODevice::WriteOnly));
    places.write("XDG_DOCUMENTS_DIR=\"" + home_.filePath(QStringLiteral("Documents")).toUtf8() + "\"\n");
    places.close();
    fixture_.prepare(GuiFixture::Project::None);
}

SearchResultPage *FirstHourTest::lastSearchPage() const {
    const QList<SearchResultPage *> pages = form().findChildren<SearchResultPage *>();
    return pages.isEmpty() ? nullptr : pages.last();
}

void FirstHourTest::aNewUserDownloadsBrowsesSearchesAndExportsASite() {
    using Step = void (FirstHourTest::*)();
    for (const Step step : {&FirstHourTest::makeTheFirstProject, &FirstHourTest::getTheSite, &FirstHourTest::crawlIt,
                            &FirstHourTest::compareWithLark, &FirstHourTest::browseOffline, &FirstHourTest::searchIt,
                            &FirstHourTest::exportIt, &FirstHourTest::openTheExport}) {
        (this->*step)();
        if (QTest::currentTestFailed()) return;
    }
}

// The first start asks where the new project goes; the user takes what is proposed.
void FirstHourTest::makeTheFirstProject() {
    QString proposed;
    whenOpen<QFileDialog>([&proposed](QFileDialog *dialog) {
        proposed =
            QDir(dialog->directory()).filePath(dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text());
        screenshot(dialog, QStringLiteral("firsthour-1-new-project.png"));
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Save)->click();
    });
    form().start();
    QCOMPARE(proposed, home_.filePath(QStringLiteral("Documents/EV_Projects/NewProject.slk")));
    QVERIFY(form().project().active());
    project_ = form().project().fileName();
    QCOMPARE(project_, proposed);
    QCOMPARE(form().windowTitle(), QStringLiteral("Sitelark - NewProject - [ONLINE]"));
    QCOMPARE(taskRows().model()->rowCount(), 0);
    screenshot(&form(), QStringLiteral("firsthour-1-project.png"));
}

// The address typed, depth 1, Get; the question how far links go is answered as proposed.
void FirstHourTest::getTheSite() {
    auto *address = form().findChild<QLineEdit *>(QStringLiteral("address"));
    typeInto(address, url(QStringLiteral("/index.html")));
    auto *depth = form().findChild<QSpinBox *>(QStringLiteral("depth"));
    QTest::keyClick(depth, Qt::Key_Up);
    QCOMPARE(depth->value(), 1);
    QString kept;
    whenOpen<TaskFilterOptionsDialog>([&kept](TaskFilterOptionsDialog *dialog) {
        kept = dialog->entry().expression;
        screenshot(dialog, QStringLiteral("firsthour-2-filter.png"));
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    auto *get = form().findChild<QAction *>(QStringLiteral("acGet"));
    clickButton(*qobject_cast<QToolBar *>(address->parentWidget()), get);
    QCOMPARE(kept, QStringLiteral("http://*127.0.0.1:%1/*").arg(QUrl(url({})).port()));
    QCOMPARE(taskRows().model()->rowCount(), 1);
    QCOMPARE(form().taskList().model().row(0).url, url(QStringLiteral("/index.html")));
    QCOMPARE(address->text(), QStringLiteral("http://"));  // ready for the next site
    screenshot(&form(), QStringLiteral("firsthour-2-task.png"));
}

// The program went online with the new project: the task runs at once and ends done.
void FirstHourTest::crawlIt() {
    QCOMPARE(form().findChild<QAction *>(QStringLiteral("acOnline"))->text(), QStringLiteral("Go Offline"));
    const TaskListModel &tasks = form().taskList().model();
    QTRY_VERIFY_WITH_TIMEOUT(tasks.row(0).state == TaskRow::Ok && tasks.row(0).queued == 0, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(form().project().statistics().itemsRemaining, 0u, 10000);
    const QModelIndex name = tasks.index(0, TaskListModel::Name);
    QCOMPARE(tasks.data(name, Qt::ToolTipRole).toString(), QStringLiteral("Ok"));
    // Depth 1: the start page, its image and the three pages it links on the site.
    QCOMPARE(tasks.data(tasks.index(0, TaskListModel::Retrieved), Qt::DisplayRole).toString(), QStringLiteral("5"));
    QCOMPARE(tasks.data(tasks.index(0, TaskListModel::Errors), Qt::DisplayRole).toString(), QStringLiteral("0"));
    QStringList status;
    for (const QLabel *label : form().statusBar()->findChildren<QLabel *>()) status << label->text();
    QVERIFY2(status.contains(QStringLiteral("Retrieved %1, queued 0, errors 0, %2 bytes")
                                 .arg(form().project().statistics().itemsRetrieved)
                                 .arg(form().project().statistics().bytesRetrieved)),
             qPrintable(status.join(u'|')));
    QTest::mouseClick(taskRows().viewport(), Qt::LeftButton, {}, taskRows().visualRect(tasks.index(0, 0)).center());
    QVERIFY(form().taskList().command(QStringLiteral("acProperties"))->isEnabled());
    screenshot(&form(), QStringLiteral("firsthour-3-crawled.png"));
}

// Offline and closed, the project is what lark sees: the same task, files and counts.
void FirstHourTest::compareWithLark() {
    const TaskRow shown = form().taskList().model().row(0);
    const StatProgress counted = form().project().statistics();
    fixture_.chooseMenuEntry(QStringLiteral("Project"), QStringLiteral("Go Offline"));
    QVERIFY(!form().project().running());
    fixture_.chooseMenuEntry(QStringLiteral("File"), QStringLiteral("Close"));
    QVERIFY(!form().project().active());
    QCOMPARE(form().windowTitle(), QStringLiteral("Sitelark"));

    const QList<QStringList> tasks = larkRows({QStringLiteral("tasks"), project_});
    QCOMPARE(tasks.size(), 2);  // the heading and the task
    // id, state, queued, retrieved, depth, errors, then the name or address
    QCOMPARE(tasks[1].mid(0, 6),
             (QStringList{QString::number(shown.id), QStringLiteral("complete"), QStringLiteral("0"),
                          QString::number(shown.retrieved), QStringLiteral("1"), QString::number(shown.errorCount)}));
    QCOMPARE(tasks[1].mid(6).join(u' '), shown.name.isEmpty() ? shown.url : shown.name);
    const QList<QStringList> items = larkRows({QStringLiteral("items"), project_, QString::number(shown.id)});
    // item, level, state, status, size, address: every file fetched once, well.
    for (const QStringList &item : items.mid(1)) {
        QCOMPARE(item.value(2), QStringLiteral("done"));
        QCOMPARE(item.value(3), QStringLiteral("200"));
        fetched_ << item.value(5);
    }
    QCOMPARE(fetched_.size(), static_cast<qsizetype>(counted.itemsRetrieved));
    QVERIFY(fetched_.contains(url(QStringLiteral("/images/logo.png"))));
    QVERIFY(fetched_.contains(url(QStringLiteral("/page2.html"))));
    QVERIFY(!fetched_.contains(url(QStringLiteral("/styled.html"))));  // two links away
    const QString info = larkOutput({QStringLiteral("info"), project_});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("\nTasks +1\n"))), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("\nResources +%1\n").arg(fetched_.size()))),
             qPrintable(info));

    // What lark search finds in an indexed copy is what the program's search is to find.
    QTemporaryDir copies;
    const QString copy = copies.filePath(QStringLiteral("copy.slk"));
    QVERIFY(QFile::copy(project_, copy));
    larkOutput({QStringLiteral("index"), copy});
    for (const QStringList &found : larkRows({QStringLiteral("search"), copy, kWord})) larkFinds_ << found.value(0);
    QVERIFY(larkFinds_.contains(url(QStringLiteral("/page2.html"))));

    // The project comes back from the recent projects.
    fixture_.chooseMenuEntry(QStringLiteral("File"), project_);
    QVERIFY(form().project().active());
    QVERIFY(!form().project().running());
}

// With the site's server gone, the task opens its stored start page, whose link leads to a stored page.
void FirstHourTest::browseOffline() {
    fixture_.stopServer();
    doubleClickRow(taskRows(), 0);
    auto *browser = form().findChild<BrowserForm *>();
    QVERIFY(browser);
    QWebEnginePage *page = browser->page();
    QTRY_COMPARE_WITH_TIMEOUT(page->title(), QStringLiteral("Test site"), 20000);
    QCOMPARE(page->url().scheme(), QStringLiteral("kiv"));
    QTRY_VERIFY_WITH_TIMEOUT(bodyText(page).contains(QStringLiteral("Welcome to the test site")), 10000);
    QCOMPARE(form().findChild<QTabWidget *>()->currentWidget(), browser);
    screenshot(&form(), QStringLiteral("firsthour-4-offline.png"));

    click(browser->view(), QStringLiteral("#next"));
    QTRY_COMPARE_WITH_TIMEOUT(page->title(), QStringLiteral("Second"), 10000);
    QCOMPARE(page->url().scheme(), QStringLiteral("kiv"));
    QCOMPARE(browser->pageAddress(), url(QStringLiteral("/page2.html")));
    QTRY_VERIFY_WITH_TIMEOUT(bodyText(page).contains(QStringLiteral("This is the second page.")), 10000);
    screenshot(&form(), QStringLiteral("firsthour-4-link.png"));
}

// The Search command with a word of the site: the project is indexed first, then the results open.
void FirstHourTest::searchIt() {
    whenOpen<SearchDialog>([](SearchDialog *dialog) {
        typeInto(dialog->findChild<QLineEdit *>(QStringLiteral("bodyText")), kWord);
        screenshot(dialog, QStringLiteral("firsthour-5-search-dialog.png"));
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    QString question;
    answerMessageBox(QMessageBox::Ok, &question);
    fixture_.chooseMenuEntry(QStringLiteral("Search"), QStringLiteral("Search"));
    QVERIFY2(question.startsWith(QStringLiteral("You have chosen to search for words in the text of web pages.")),
             qPrintable(question));
    SearchResultPage *results = lastSearchPage();
    QVERIFY(results);
    QCOMPARE(results->caption(), QStringLiteral("Text - ") + kWord);
    QCOMPARE(form().findChild<QTabWidget *>()->currentWidget(), results);
    ItemListFrame &list = results->files().list();
    QStringList found;
    int second = -1;
    for (int row = 0; row < list.model().size(); ++row) {
        found << list.model().row(row).address;
        if (found.last() == url(QStringLiteral("/page2.html"))) second = row;
    }
    found.sort();
    larkFinds_.sort();
    QCOMPARE(found, larkFinds_);
    screenshot(&form(), QStringLiteral("firsthour-5-search.png"));

    QVERIFY(second >= 0);
    doubleClickRow(list.shownView(), second);
    auto *browser = form().findChild<BrowserForm *>();
    QTRY_COMPARE_WITH_TIMEOUT(browser->page()->title(), QStringLiteral("Second"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(form().findChild<QTabWidget *>()->currentWidget(), browser, 5000);
}

// File, Export, into a new folder: the program says how many files, and they are there.
void FirstHourTest::exportIt() {
    const QString folder = fixture_.workPath(QStringLiteral("My copy"));
    QVERIFY(QDir().mkpath(folder));
    answerFileDialog(folder);
    QString said;
    whenOpen<QMessageBox>([&said](QMessageBox *box) {
        said = box->text();
        screenshot(box, QStringLiteral("firsthour-6-exported.png"));
        box->button(QMessageBox::Ok)->click();
    });
    fixture_.chooseMenuEntry(QStringLiteral("File"), QStringLiteral("Export"));
    QVERIFY2(QRegularExpression(QStringLiteral("^[1-9][0-9]* files exported successfully\\.$")).match(said).hasMatch(),
             qPrintable(said));
    exported_ = folder + QStringLiteral("/NewProject Lark Project");
    QStringList written;
    for (QDirIterator it(exported_, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        written << it.next().mid(exported_.size() + 1);
    // Every file fetched, below a folder named for its host, and a page for the task.
    QStringList expected{QStringLiteral("Root/Test site.html")};
    for (const QString &address : std::as_const(fetched_)) {
        const QUrl file(address);
        expected << QStringLiteral("Project Files/%1_%2%3").arg(file.host()).arg(file.port()).arg(file.path());
    }
    written.sort();
    expected.sort();
    QCOMPARE(written, expected);
    expectLinksResolve(exported_);
}

// The exported start page opened from disk in a browser shows the site, its links lead to exported pages.
void FirstHourTest::openTheExport() {
    QStringList startPages;
    for (QDirIterator it(exported_ + QStringLiteral("/Root"), {QStringLiteral("*.html")}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();)
        startPages << it.next();
    QCOMPARE(startPages.size(), 1);
    QWebEngineView view;
    view.resize(900, 600);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    expectExportedSiteBrowses(view, startPages.front(), exported_, QStringLiteral("firsthour-7-export-browsed.png"));
}

SITELARK_GUI_TEST_MAIN(FirstHourTest)

#include "FirstHourTest.moc"
