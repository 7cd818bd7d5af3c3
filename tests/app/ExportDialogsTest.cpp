// Exports and imports from the main window's commands, over the crawled site
// with its server stopped: a task, stored files and the whole project are
// exported from their dialogs and checked on disk (every relative link of an
// exported page leads to an exported file), and favourites are imported
// from a bookmarks file and from a folder of link files.

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "EngineLibrary.h"
#include "ExportedCopy.h"
#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "MainForm.h"
#include "ModalAnswers.h"
#include "RecordBuffer.h"
#include "TaskCreation.h"
#include "exports/ExportItemDialog.h"
#include "exports/ExportProgressDialog.h"
#include "exports/ItemExport.h"
#include "exports/TaskExport.h"
#include "views/FolderTree.h"
#include "views/TaskListFrame.h"

using namespace gui_test;

namespace {

// Answers the next dialog of the type: the handler fills it, a screenshot is taken, then OK.
template <typename Dialog>
void answerExportDialog(std::function<void(Dialog *)> fill, const QString &picture) {
    whenOpen<Dialog>([fill, picture](Dialog *dialog) {
        fill(dialog);
        screenshot(dialog, picture);
        dialog->accept();
    });
}

// Takes one picture of the next progress dialog once it shows a file count.
void pictureProgress(const QString &picture) {
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, picture] {
        for (QWidget *window : QApplication::topLevelWidgets())
            if (auto *progress = qobject_cast<ExportProgressDialog *>(window);
                progress && progress->isVisible() &&
                !progress->findChild<QLabel *>(QStringLiteral("file"))->text().isEmpty()) {
                poll->stop();
                poll->deleteLater();
                screenshot(progress, picture);
                return;
            }
    });
    poll->start(5);
    QTimer::singleShot(30000, poll, &QObject::deleteLater);
}

std::vector<ItemRow> taskFiles(uint32_t task) {
    const auto pairs =
        eng::client::receiveRecords<eng::client::ItemResource>(engine().Eng_FreeMem, engine().Eng_GetTaskItems, task);
    return itemRows(pairs);
}

void writeText(const QString &path, const QByteArray &text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

}  // namespace

class ExportDialogsTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::Crawled, GuiFixture::Server::Stopped); }
    void init() { fixture_.setUp(); }
    void cleanup() { fixture_.tearDown(); }

    void aTaskSavedFromTheTaskMenuIsWrittenWithLinksThatResolve();
    void tasksWithoutRetrievedFilesAreCountedAsNotExported();
    void tasksOfOneFileEachAreSavedAsThoseFilesAlone();
    void aStoredPageIsSavedUnderItsNameAndCountedWhenTheNameIsTaken();
    void theProjectExportedFromTheFileMenuSaysHowManyFiles();
    void aBookmarksFileBecomesFoldersAndTasks();
    void aFolderOfLinkFilesBecomesFoldersAndTasks();

private:
    QAction *command(const QString &name) const { return form().findChild<QAction *>(name); }
};

void ExportDialogsTest::aTaskSavedFromTheTaskMenuIsWrittenWithLinksThatResolve() {
    const QString folder = fixture_.workPath(QStringLiteral("tasks"));
    QVERIFY(form().taskList().selectTask(1));
    QVERIFY(command(QStringLiteral("acSaveTasksAs"))->isEnabled());
    bool defaults = false;
    answerExportDialog<ExportParamDialog>(
        [&](ExportParamDialog *dialog) {
            defaults = dialog->windowTitle() == QStringLiteral("Export Task") && dialog->nameLength() == 50 &&
                       dialog->options() == 3 && dialog->destination().endsWith(QLatin1Char('/'));
            dialog->setDestination(folder);
        },
        QStringLiteral("export-task-dialog.png"));
    pictureProgress(QStringLiteral("export-task-progress.png"));
    command(QStringLiteral("acSaveTasksAs"))->trigger();
    QVERIFY(defaults);
    const QStringList pages = QDir(folder).entryList({QStringLiteral("*.html")}, QDir::Files);
    QCOMPARE(pages.size(), 1);
    expectLinksResolve(folder);
    // The folder chosen is offered next time.
    QCOMPARE(ExportParamDialog::lastFolder(), folder + QLatin1Char('/'));
}

void ExportDialogsTest::tasksWithoutRetrievedFilesAreCountedAsNotExported() {
    const int empty = fixture_.project().createTask(QStringLiteral("http://127.0.0.1:1/never.html"), 0, 1,
                                                    QStringLiteral("never fetched"));
    QVERIFY(empty > 0);
    const QString folder = fixture_.workPath(QStringLiteral("two"));
    answerExportDialog<ExportParamDialog>([&](ExportParamDialog *dialog) { dialog->setDestination(folder); },
                                          QStringLiteral("export-two-tasks-dialog.png"));
    QString said;
    answerMessageBox(QMessageBox::Ok, &said);
    QCOMPARE(saveTasksAs(&form(), fixture_.project(), {1u, static_cast<uint32_t>(empty)}), 1);
    QCOMPARE(said, QStringLiteral("1 of 2 task(s) were not exported due to an error."));
    expectLinksResolve(folder);
}

// Tasks that each retrieved one file are saved as those files, named as the
// files are, without a folder of their own.
void ExportDialogsTest::tasksOfOneFileEachAreSavedAsThoseFilesAlone() {
    std::vector<uint32_t> tasks;
    for (const QString name : {QStringLiteral("first.html"), QStringLiteral("second.html")}) {
        const QString path =
            QString::fromStdString((fixture_.siteRoot() / "single").string()) + QLatin1Char('/') + name;
        writeText(path,
                  "<html><head><title>One page</title></head><body><a href=\"index.html\">home</a></body></html>");
        const int task = fixture_.project().createTask(QUrl::fromLocalFile(path).toString(), 0, kRootFolder);
        QVERIFY(task > 0);
        tasks.push_back(static_cast<uint32_t>(task));
    }
    fixture_.project().setRunning(true);
    QTRY_VERIFY_WITH_TIMEOUT(
        std::ranges::all_of(tasks, [this](uint32_t task) { return fixture_.project().task(task)->retrieved == 1; }),
        30000);
    fixture_.project().setRunning(false);
    const QString folder = fixture_.workPath(QStringLiteral("single"));
    answerExportDialog<ExportParamDialog>([&](ExportParamDialog *dialog) { dialog->setDestination(folder); },
                                          QStringLiteral("export-single-files-dialog.png"));
    QCOMPARE(saveTasksAs(&form(), fixture_.project(), tasks), 2);
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
             QStringList({QStringLiteral("first.html"), QStringLiteral("second.html")}));
    QFile saved(folder + QStringLiteral("/first.html"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("One page"));
}

void ExportDialogsTest::aStoredPageIsSavedUnderItsNameAndCountedWhenTheNameIsTaken() {
    const std::vector<ItemRow> files = taskFiles(1);
    const auto index = std::find_if(files.begin(), files.end(), [](const ItemRow &row) {
        return row.address.endsWith(QStringLiteral("/index.html")) && row.size > 0;
    });
    QVERIFY(index != files.end());
    const QString folder = fixture_.workPath(QStringLiteral("pages"));
    ExportParamDialog::rememberFolder(folder);
    QString proposed;
    bool pageChoice = false;
    for (int run = 0; run < 2; ++run) {
        answerExportDialog<ExportItemDialog>(
            [&](ExportItemDialog *dialog) {
                proposed = dialog->destination();
                pageChoice = dialog->findChild<QWidget *>(QStringLiteral("pagesAs"))->isEnabled();
            },
            QStringLiteral("export-item-dialog.png"));
        QCOMPARE(saveItemsAs(&form(), fixture_.project(), {*index}), 1);
        QCOMPARE(proposed, folder + QStringLiteral("/index.html"));
        QVERIFY(pageChoice);
    }
    QVERIFY(QFile::exists(folder + QStringLiteral("/index.html")));
    QVERIFY(QFile::exists(folder + QStringLiteral("/index[1].html")));
    expectLinksResolve(folder);

    // All the task's files into a folder: those never fetched are told about.
    const QString all = fixture_.workPath(QStringLiteral("all"));
    const auto exportable = std::count_if(files.begin(), files.end(), [](const ItemRow &row) {
        return (row.state == TaskRow::Ok || row.state == TaskRow::Failed) && row.size > 0;
    });
    answerExportDialog<ExportItemDialog>([&](ExportItemDialog *dialog) { dialog->setDestination(all); },
                                         QStringLiteral("export-items-dialog.png"));
    QString said;
    if (exportable < static_cast<qsizetype>(files.size())) answerMessageBox(QMessageBox::Ok, &said);
    QCOMPARE(saveItemsAs(&form(), fixture_.project(), files), static_cast<int>(exportable));
    if (exportable < static_cast<qsizetype>(files.size()))
        QCOMPARE(said, QStringLiteral("%1 of %2 file(s) were not exported due to an error.")
                           .arg(files.size() - exportable)
                           .arg(files.size()));
    QVERIFY(QFile::exists(all + QStringLiteral("/logo.png")));
}

void ExportDialogsTest::theProjectExportedFromTheFileMenuSaysHowManyFiles() {
    const QString folder = fixture_.workPath(QStringLiteral("project"));
    QVERIFY(QDir().mkpath(folder));
    answerFileDialog(folder);
    QString said;
    answerMessageBox(QMessageBox::Ok, &said);
    pictureProgress(QStringLiteral("export-project-progress.png"));
    QVERIFY(command(QStringLiteral("acExportProject"))->isEnabled());
    command(QStringLiteral("acExportProject"))->trigger();
    QVERIFY2(QRegularExpression(QStringLiteral("^[1-9][0-9]* files exported successfully\\.$")).match(said).hasMatch(),
             qPrintable(said));
    // The project's own folder, with every stored file and a page per task below its folders.
    const QString exported = folder + QStringLiteral("/site Lark Project");
    QVERIFY(QFileInfo(exported + QStringLiteral("/Project Files")).isDir());
    QVERIFY(QFileInfo(exported + QStringLiteral("/Root")).isDir());
    expectLinksResolve(exported);
}

void ExportDialogsTest::aBookmarksFileBecomesFoldersAndTasks() {
    const QString file = fixture_.workPath(QStringLiteral("bookmarks.html"));
    writeText(file,
              "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<H1>Bookmarks</H1>\n<DL><p>\n"
              "<DT><A HREF=\"http://127.0.0.1:1/top.html\">Top &lt;b&gt;one&lt;/b&gt;</A>\n"
              "<DT><H3>Reading</H3>\n<DL><p>\n"
              "  <DT><A HREF=\"http://127.0.0.1:1/read.html\">Read</A>\n"
              "  <DT><H3>Later</H3>\n  <DL><p>\n"
              "    <DT><A HREF=\"http://127.0.0.1:1/later.html\">Later</A>\n"
              "    <DT><A HREF=\"http://127.0.0.1:1/later2.html\">Later too</A>\n"
              "  </DL><p>\n</DL><p>\n</DL>\n");
    answerFileDialog(file);
    QString said;
    answerMessageBox(QMessageBox::Ok, &said);
    fixture_.triggerMenuCommand(QStringLiteral("Import Favorites"));
    QCOMPARE(said, QStringLiteral("Favorites imported. Files: 4 Folders: 2"));

    FolderTree &tree = form().folderTree();
    QTreeWidgetItem *root = tree.itemOf(1);
    QVERIFY(root);
    QTreeWidgetItem *favorites = root->child(root->childCount() - 1);
    QCOMPARE(favorites->text(0), QStringLiteral("Favorites"));
    const uint32_t favoritesId = favorites->data(0, Qt::UserRole).toUInt();
    const std::vector<TaskRow> top = fixture_.project().folderTasks(favoritesId);
    QCOMPARE(top.size(), size_t(1));
    QCOMPARE(top[0].name, QStringLiteral("Top <b>one</b>"));
    QCOMPARE(top[0].depth, 0u);
    tree.expandAll();
    QTreeWidgetItem *reading = favorites->child(0);
    QCOMPARE(reading->text(0), QStringLiteral("Reading"));
    QCOMPARE(reading->child(0)->text(0), QStringLiteral("Later"));
    QCOMPARE(fixture_.project().folderTasks(reading->child(0)->data(0, Qt::UserRole).toUInt()).size(), size_t(2));
    tree.selectFolder(favoritesId);
    screenshot(&form(), QStringLiteral("favorites-imported.png"));
}

void ExportDialogsTest::aFolderOfLinkFilesBecomesFoldersAndTasks() {
    const QString folder = fixture_.workPath(QStringLiteral("Links"));
    const QByteArray shortcut = "[InternetShortcut]\r\nURL=http://127.0.0.1:1/%1.html\r\n";
    for (const QString &name : {QStringLiteral("a.url"), QStringLiteral("News/b.url"), QStringLiteral("News/c.url"),
                                QStringLiteral("Tools/d.url")})
        writeText(folder + QLatin1Char('/') + name,
                  QString::fromLatin1(shortcut).arg(name.at(name.size() - 5)).toUtf8());
    writeText(folder + QStringLiteral("/Tools/e.desktop"),
              "[Desktop Entry]\nType=Link\nURL=http://127.0.0.1:1/e.html\n");
    writeText(folder + QStringLiteral("/Tools/readme.txt"), "no address here\n");
    answerFileDialog(folder);
    QString said;
    answerMessageBox(QMessageBox::Ok, &said);
    fixture_.triggerMenuCommand(QStringLiteral("Import Favorites Folder"));
    QCOMPARE(said, QStringLiteral("Favorites imported. Files: 5 Folders: 2"));
    QTreeWidgetItem *root = form().folderTree().itemOf(1);
    QTreeWidgetItem *favorites = root->child(root->childCount() - 1);
    QCOMPARE(favorites->text(0), QStringLiteral("Favorites"));
    const std::vector<TaskRow> top = fixture_.project().folderTasks(favorites->data(0, Qt::UserRole).toUInt());
    QCOMPARE(top.size(), size_t(1));
    QCOMPARE(top[0].name, QStringLiteral("a.url"));
    QCOMPARE(top[0].url, QStringLiteral("http://127.0.0.1:1/a.html"));
}

SITELARK_GUI_TEST_MAIN(ExportDialogsTest)

#include "ExportDialogsTest.moc"
