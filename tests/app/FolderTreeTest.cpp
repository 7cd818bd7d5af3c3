// The folder tree over a crawled project: folders made, renamed, moved and
// deleted; the task list following the selected folder; tasks moved between
// folders by drag-and-drop and by cut and paste, addresses dropped into the
// selected folder, and a task copied into another project by the clipboard
// arriving there with its stored pages.

#include "views/FolderTree.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "BrowserForm.h"
#include "DropBox.h"
#include "EngineLibrary.h"
#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "MainForm.h"
#include "ModalAnswers.h"
#include "PageScripts.h"
#include "ProjectTemplate.h"
#include "RecordBuffer.h"
#include "TaskCreation.h"
#include "support/ChildProcess.h"
#include "views/FolderPropertiesWindow.h"
#include "views/TaskListFrame.h"
#include "views/TaskListModel.h"
#include "views/TaskTransferData.h"
#include "views/TransferText.h"

using namespace gui_test;

class FolderTreeTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::Crawled, GuiFixture::Server::Stopped); }
    void init() { fixture_.setUp(); }
    void cleanup() { fixture_.tearDown(); }

    void foldersAreMadeRenamedMovedAndDeleted();
    void tasksMoveBetweenFoldersByDragAndByCutAndPaste();
    void aTaskCopiedToTheClipboardArrivesInAnotherProjectWithItsPages();
    void tasksOfAnotherRunningProgramArriveThroughTheArchives();

private:
    FolderTree &tree() const { return form().folderTree(); }
    TaskListFrame &list() const { return form().taskList(); }
    void trigger(QAction *action) const {
        QVERIFY2(action->isEnabled(), qPrintable(action->text()));
        action->trigger();
    }
    // Makes a subfolder of the selected folder and names it; its key.
    uint32_t newFolder(const QString &name) const;
    // The tasks' ids the list shows.
    QList<uint32_t> shownTasks() const {
        QList<uint32_t> ids;
        for (int k = 0; k < list().model().rowCount(); ++k) ids << list().model().row(k).id;
        return ids;
    }
    // Drops the data on the folder's node, as the tree's view does with what is dragged onto it.
    bool dropOnNode(uint32_t folder, const QMimeData &data) const {
        return tree().model()->dropMimeData(&data, Qt::MoveAction, -1, -1, tree().indexFromItem(tree().itemOf(folder)));
    }
};

uint32_t FolderTreeTest::newFolder(const QString &name) const {
    QTreeWidgetItem *parent = tree().currentItem();
    tree().command(QStringLiteral("acNewFolder"))->trigger();
    QTreeWidgetItem *item = tree().currentItem();
    if (item == parent) return 0;
    tree().setCurrentItem(parent);  // ends the name's editing as it was
    item->setText(0, name);
    return item->data(0, Qt::UserRole).toUInt();
}

void FolderTreeTest::foldersAreMadeRenamedMovedAndDeleted() {
    // The root is shown, open and selected, and can be neither deleted nor collapsed.
    QCOMPARE(tree().topLevelItemCount(), 1);
    QTreeWidgetItem *root = tree().topLevelItem(0);
    QCOMPARE(root->text(0), QStringLiteral("Root"));
    QCOMPARE(tree().selectedFolder(), kRootFolder);
    QVERIFY(!tree().command(QStringLiteral("acFolderDelete"))->isEnabled());
    root->setExpanded(false);
    QVERIFY(root->isExpanded());

    // New folders are numbered by the node's children.
    tree().command(QStringLiteral("acNewFolder"))->trigger();
    QCOMPARE(tree().currentItem()->text(0), QStringLiteral("New Folder 1"));
    const uint32_t first = tree().selectedFolder();
    tree().setCurrentItem(root);
    tree().command(QStringLiteral("acNewFolder"))->trigger();
    QCOMPARE(tree().currentItem()->text(0), QStringLiteral("New Folder 2"));
    const uint32_t second = tree().selectedFolder();
    tree().setCurrentItem(root);
    // Renaming writes the name.
    tree().itemOf(first)->setText(0, QStringLiteral("Archive"));
    QCOMPARE(folderPath(first), QStringLiteral("Root\\Archive"));

    // A folder cut and pasted into another moves below it; into itself or below it, nothing.
    tree().setCurrentItem(tree().itemOf(second));
    trigger(tree().command(QStringLiteral("acFolderCut")));
    tree().setCurrentItem(tree().itemOf(first));
    trigger(tree().command(QStringLiteral("acFolderPaste")));
    QCOMPARE(folderPath(second), QStringLiteral("Root\\Archive\\New Folder 2"));
    QCOMPARE(tree().itemOf(second)->parent(), tree().itemOf(first));
    tree().setCurrentItem(tree().itemOf(first));
    trigger(tree().command(QStringLiteral("acFolderCut")));
    tree().setCurrentItem(tree().itemOf(second));
    trigger(tree().command(QStringLiteral("acFolderPaste")));
    QCOMPARE(folderPath(first), QStringLiteral("Root\\Archive"));
    // Dragged onto the root, it moves back; dragged onto its own parent it is refused.
    tree().expandAll();
    const auto dragSecond = [this, second] {
        return std::unique_ptr<QMimeData>(tree().model()->mimeData({tree().indexFromItem(tree().itemOf(second))}));
    };
    QVERIFY(dropOnNode(kRootFolder, *dragSecond()));
    QCOMPARE(folderPath(second), QStringLiteral("Root\\New Folder 2"));
    QCOMPARE(tree().itemOf(second)->parent(), root);
    QVERIFY(!dropOnNode(kRootFolder, *dragSecond()));
    QVERIFY(!dropOnNode(second, *dragSecond()));
    QCOMPARE(folderPath(second), QStringLiteral("Root\\New Folder 2"));
    tree().setCurrentItem(root);  // the crawled site's task beside the folders
    screenshot(&form(), QStringLiteral("folder-tree.png"));

    // Deleting asks, then the folder goes with what it holds, and the selection moves on.
    tree().setCurrentItem(tree().itemOf(second));
    QVERIFY(form().project().createTask(url(QStringLiteral("/page2.html")), 0, second) > 0);
    QTRY_COMPARE_WITH_TIMEOUT(list().model().rowCount(), 1, 5000);
    const uint32_t held = list().model().row(0).id;
    // A name that reads like markup is shown as it is.
    QVERIFY(tree().renameFolder(second, QStringLiteral("<i>Old</i>")));
    QCOMPARE(tree().itemOf(second)->text(0), QStringLiteral("<i>Old</i>"));
    QString asked;
    Qt::TextFormat format = Qt::AutoText;
    whenOpen<QMessageBox>([&](QMessageBox *box) {
        asked = box->text();
        format = box->textFormat();
        box->button(QMessageBox::Ok)->click();
    });
    trigger(tree().command(QStringLiteral("acFolderDelete")));
    QCOMPARE(asked, QStringLiteral("Delete folder <i>Old</i> and all it's subitems."));
    QCOMPARE(format, Qt::PlainText);
    QVERIFY(!tree().itemOf(second));
    QVERIFY(!form().project().task(held));
    QVERIFY(tree().selectedFolder() != second);

    // The root's properties count what lies below it; OK there renames.
    tree().setCurrentItem(root);
    trigger(tree().command(QStringLiteral("acFolderProperties")));
    auto *properties = form().findChild<FolderPropertiesWindow *>();
    QVERIFY(properties);
    const TaskRow crawled = form().project().folderTasks(kRootFolder).at(0);
    QTRY_COMPARE_WITH_TIMEOUT(properties->containsText(), QStringLiteral("Folders:1, Tasks:1"), 5000);
    QCOMPARE(properties->sizeText(), groupedNumber(crawled.size));
    properties->findChild<QLineEdit *>(QStringLiteral("name"))->setText(QStringLiteral("Everything"));
    properties->accept();
    QCOMPARE(folderPath(first), QStringLiteral("Everything\\Archive"));
    QCOMPARE(root->text(0), QStringLiteral("Everything"));
}

void FolderTreeTest::tasksMoveBetweenFoldersByDragAndByCutAndPaste() {
    QCOMPARE(list().model().folder(), kRootFolder);
    QCOMPARE(list().model().rowCount(), 1);  // the crawled site's task
    const uint32_t task = list().model().row(0).id;
    const uint32_t folder = newFolder(QStringLiteral("Moved"));
    QVERIFY(folder);
    tree().setCurrentItem(tree().itemOf(kRootFolder));

    // Rows dragged out of the list and dropped on a folder's node move there.
    std::unique_ptr<QMimeData> dragged(list().model().mimeData({list().model().index(0, 0)}));
    QVERIFY(dragged->hasFormat(QStringLiteral("KestDumbTransfer")));
    QVERIFY(dropOnNode(folder, *dragged));
    QCOMPARE(form().project().task(task)->folder, folder);
    QVERIFY(shownTasks().isEmpty());
    tree().selectFolder(folder);
    QCOMPARE(shownTasks(), QList<uint32_t>{task});
    QCOMPARE(list().statusText(), QStringLiteral("1 task(s)"));

    // Cut in one folder and pasted in another, the task moves back.
    QVERIFY(list().selectTask(task));
    trigger(form().findChild<QAction *>(QStringLiteral("acEditCut")));  // the main window's Edit menu
    tree().selectFolder(kRootFolder);
    trigger(form().findChild<QAction *>(QStringLiteral("acEditPaste")));
    QCOMPARE(form().project().task(task)->folder, kRootFolder);
    QCOMPARE(shownTasks(), QList<uint32_t>{task});

    // Dropped on the list itself, rows of another folder move into the list's folder.
    tree().selectFolder(folder);
    QVERIFY(list().model().dropMimeData(dragged.get(), Qt::MoveAction, -1, -1, {}) == false);
    QCOMPARE(shownTasks(), QList<uint32_t>{task});

    // The drop box drops into the selected folder.
    DropBox &box = form().dropBox();
    QCOMPARE(box.windowTitle(), QStringLiteral("Moved Folder"));
    QMimeData addresses;
    addresses.setText(url(QStringLiteral("/page2.html")) + QStringLiteral("\r\n") + url(QStringLiteral("/evil.html")));
    QCOMPARE(box.take(addresses), 2);
    QCOMPARE(shownTasks().size(), 3);
    QCOMPARE(form().project().folderTasks(folder).size(), size_t{3});
    // Addresses dragged from another program onto a node become tasks of depth 0 there; one bad text, none.
    QMimeData links;
    links.setUrls({QUrl(url(QStringLiteral("/a.html"))), QUrl(url(QStringLiteral("/b.html"))),
                   QUrl(url(QStringLiteral("/c.html")))});
    QVERIFY(dropOnNode(kRootFolder, links));
    QCOMPARE(form().project().folderTasks(kRootFolder).size(), size_t{3});
    QCOMPARE(form().project().folderTasks(kRootFolder).back().depth, 0u);
    QMimeData bad;
    bad.setText(QStringLiteral("mailto:someone"));
    QString said;
    answerMessageBox(QMessageBox::Ok, &said);
    QVERIFY(dropOnNode(kRootFolder, bad));
    QCOMPARE(said, QStringLiteral("The URL mailto:someone is not valid."));
    QCOMPARE(form().project().folderTasks(kRootFolder).size(), size_t{3});
}

void FolderTreeTest::aTaskCopiedToTheClipboardArrivesInAnotherProjectWithItsPages() {
    QCOMPARE(list().model().rowCount(), 1);
    const TaskRow source = list().model().row(0);
    QVERIFY(list().selectTask(source.id));
    trigger(list().command(QStringLiteral("acCopy")));
    QVERIFY(qobject_cast<const TaskTransferData *>(QApplication::clipboard()->mimeData()));

    // Pasted into the same project, it is a new task with the same values.
    trigger(list().command(QStringLiteral("acPaste")));
    QCOMPARE(list().model().rowCount(), 2);
    const TaskRow copy = list().model().row(1);
    QCOMPARE(copy.url, source.url);
    QCOMPARE(copy.depth, source.depth);
    QCOMPARE(copy.filter, source.filter);
    QVERIFY(copy.id != source.id);

    // Another project: the clipboard carries the task through the archives, with its stored pages.
    const QString second = fixture_.workPath(QStringLiteral("second.slk"));
    eng::writeNewProject(second.toStdString());
    form().openFile(second);
    QVERIFY(form().project().active());
    QCOMPARE(form().project().fileName(), second);
    QCOMPARE(list().model().rowCount(), 0);
    QVERIFY(!stored(url(QStringLiteral("/page2.html"))));
    trigger(list().command(QStringLiteral("acPaste")));
    QCOMPARE(list().model().rowCount(), 1);
    QCOMPARE(list().model().row(0).url, source.url);
    QCOMPARE(list().model().row(0).retrieved, source.retrieved);
    QVERIFY(stored(url(QStringLiteral("/page2.html"))));
    const TransferArchives archives = TransferArchives::inTemporaryFolder();
    QVERIFY(!QFile::exists(archives.tasks) && !QFile::exists(archives.resources) && !QFile::exists(archives.bodies));

    // Opened from the list, the task's stored start page shows, and its links lead to the next stored page.
    QVERIFY(list().selectTask(list().model().row(0).id));
    trigger(list().command(QStringLiteral("acOpen")));
    auto *opened = qobject_cast<BrowserForm *>(form().findChild<QTabWidget *>()->currentWidget());
    QVERIFY(opened);
    QWebEnginePage *page = opened->view()->page();
    QTRY_VERIFY_WITH_TIMEOUT(bodyText(page).contains(QStringLiteral("Welcome to the test site")), 20000);
    QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
    evaluate(page, QStringLiteral("document.getElementById('next').click(); true"));
    QVERIFY(loaded.wait(20000));
    QVERIFY(bodyText(page).contains(QStringLiteral("This is the second page.")));

    // Up and Down select the row above or below alone and open it in the same browser.
    form().project().createTask(url(QStringLiteral("/page2.html")), 0, kRootFolder);
    QTRY_COMPARE_WITH_TIMEOUT(list().model().rowCount(), 2, 5000);
    QVERIFY(list().selectTask(list().model().row(1).id));
    QVERIFY(!list().command(QStringLiteral("acMoveDown"))->isEnabled());
    trigger(
        list().command(QStringLiteral("acMoveUp")));  // the browser shows the second page: Up goes to the start page
    QCOMPARE(list().currentTask()->url, url(QStringLiteral("/index.html")));
    QTRY_VERIFY_WITH_TIMEOUT(bodyText(page).contains(QStringLiteral("Welcome to the test site")), 20000);
    QVERIFY(!list().command(QStringLiteral("acMoveUp"))->isEnabled());
}

void FolderTreeTest::tasksOfAnotherRunningProgramArriveThroughTheArchives() {
    // The other program has a copy of the crawled project open and its tasks on the clipboard.
    const QString source = fixture_.workPath(QStringLiteral("source.slk"));
    QVERIFY(QFile::copy(fixture_.preparedProject(), source));
    const std::string program =
        (QCoreApplication::applicationDirPath() + QStringLiteral("/gui_transfer_source")).toStdString();
    test::ChildProcess other({program, source.toStdString()}, {.pipeStdout = true});
    QCOMPARE(other.readLine(std::chrono::seconds(20)).value_or(""), std::string("ready"));
    const auto offered = [] {
        return transfer::parse(QApplication::clipboard()->mimeData()->data(transfer::kFormat))
            .value_or(transfer::Text{})
            .projectPath;
    };
    QTRY_COMPARE_WITH_TIMEOUT(offered(), source, 10000);
    QVERIFY(!qobject_cast<const TaskTransferData *>(QApplication::clipboard()->mimeData()));  // not this program's
    const QString second = fixture_.workPath(QStringLiteral("second.slk"));
    eng::writeNewProject(second.toStdString());
    form().openFile(second);
    QCOMPARE(list().model().rowCount(), 0);
    trigger(list().command(QStringLiteral("acPaste")));
    QCOMPARE(list().model().rowCount(), 1);
    QCOMPARE(list().model().row(0).url, url(QStringLiteral("/index.html")));
    QVERIFY(stored(url(QStringLiteral("/page2.html"))));
    const TransferArchives archives = TransferArchives::inTemporaryFolder();
    QVERIFY(!QFile::exists(archives.tasks));
    other.stop();
}

SITELARK_GUI_TEST_MAIN(FolderTreeTest)
#include "FolderTreeTest.moc"
