// The Files List window with a real engine over a crawled project: it shows
// what lark lists for the task, filters by file type, shows a page's related
// files as its stored links say, refuses to delete a task's main file,
// creates tasks from files, writes a file's stored text, and follows a crawl
// as it adds files; item properties show a file's values.

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressDialog>
#include <QScreen>
#include <QSignalSpy>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QTreeView>

#include "BrowserForm.h"
#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "GuiTestSite.h"
#include "MainForm.h"
#include "ModalAnswers.h"
#include "TaskCreation.h"
#include "TemporaryFolders.h"
#include "exports/ExportItemDialog.h"
#include "items/ItemListFrame.h"
#include "items/ItemListModel.h"
#include "items/ItemPropertiesDialog.h"
#include "items/ItemWindow.h"
#include "items/RelatedFilesPanel.h"
#include "views/TaskListFrame.h"
#include "views/TaskListModel.h"
#include "views/TransferReceiver.h"
#include "views/TransferText.h"

using namespace gui_test;

namespace {

// Drags the splitter's handle up by the distance, as the mouse does it.
void dragUp(QSplitterHandle *handle, int distance) {
    const QPoint grip(handle->width() / 2, handle->height() / 2), to = grip - QPoint(0, distance);
    const auto send = [handle](QEvent::Type type, const QPoint &at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, handle->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(handle, &event);
    };
    send(QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

// The files the site's one task holds, as "item level size address" lines.
using FileLines = QStringList;

FileLines linesOf(const ItemListModel &model) {
    FileLines lines;
    for (int k = 0; k < model.size(); ++k) {
        const ItemRow &row = model.row(k);
        lines << QStringLiteral("%1 %2 %3 %4").arg(row.item).arg(row.level).arg(row.size).arg(row.address);
    }
    lines.sort();
    return lines;
}

// What "lark items" prints for the task, in the same form.
FileLines larkItems(const QString &project, uint32_t task) {
    FileLines lines;
    const QStringList output =
        larkOutput({QStringLiteral("items"), project, QString::number(task)}).split(u'\n', Qt::SkipEmptyParts);
    for (qsizetype k = 1; k < output.size(); ++k) {  // after the header
        const QStringList fields = output[k].split(u' ', Qt::SkipEmptyParts);
        if (fields.size() >= 6) lines << QStringList{fields[0], fields[1], fields[4], fields[5]}.join(u' ');
    }
    lines.sort();
    return lines;
}

// The addresses of the stored links of a page that lark lists, hyperlinks or embedded ones.
QStringList larkLinks(const QString &project, const QString &page, bool hyperlinks) {
    QStringList addresses;
    for (const QString &line : larkOutput({QStringLiteral("links"), project, page}).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(u'\t');
        if (fields.size() == 3 && (fields[0] == QStringLiteral("0")) == hyperlinks) addresses << fields[2];
    }
    addresses.removeDuplicates();
    addresses.sort();
    return addresses;
}

QStringList addressesOf(const ItemListModel &model) {
    QStringList addresses;
    for (int k = 0; k < model.size(); ++k) addresses << model.row(k).address;
    addresses.sort();
    return addresses;
}

// The titles of the progress dialogs shown while it lives.
class ShownProgress : public QObject {
public:
    ShownProgress() { qApp->installEventFilter(this); }
    ~ShownProgress() override { qApp->removeEventFilter(this); }
    QStringList titles;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show)
            if (auto *dialog = qobject_cast<QProgressDialog *>(watched)) titles << dialog->windowTitle();
        return false;
    }
};

// Files handed to the system's program for them.
class OpenedFiles : public QObject {
    Q_OBJECT

public:
    OpenedFiles() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~OpenedFiles() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls << url; }
};

}  // namespace

class ItemViewsTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::Crawled); }
    void init() { fixture_.setUp(); }
    void cleanup() { fixture_.tearDown(); }

    void theListShowsWhatLarkListsAndFiltersByType();
    void relatedFilesAreThePagesStoredLinks();
    void theMainFileIsNotDeleted();
    void filesBecomeTasks();
    void viewSourceWritesTheStoredText();
    void filesArriveWhileACrawlRuns();
    void aLongListLoadsUnderAProgressDialog();
    void theBrowsersBackAndForwardStepThroughTheList();
    void theRelatedFilesKeepTheHeightTheyWereGiven();
    void draggedFilesAreAddressesToTheProgramAndExportedFilesToOthers();

private:
    // The first task's Files List window, opened through the task list's List command.
    ItemWindow *openFilesList(uint32_t task = 1);
    ItemListFrame &list(ItemWindow *window) const { return window->list(); }
    QString statusOf(ItemWindow *window) const {
        return window->findChild<QLabel *>(QStringLiteral("itemStatus"))->text();
    }
    // Selects the row of the address alone.
    void selectAddress(ItemListFrame &list, const QString &address);
};

ItemWindow *ItemViewsTest::openFilesList(uint32_t task) {
    TaskListFrame &tasks = form().taskList();
    if (!tasks.selectTask(task)) {
        QTest::qFail("the task list has no such task", __FILE__, __LINE__);
        return nullptr;
    }
    QAction *show = tasks.command(QStringLiteral("acShowItems"));
    if (!show->isEnabled() || show->text() != QStringLiteral("List")) {
        QTest::qFail("the List command is not offered", __FILE__, __LINE__);
        return nullptr;
    }
    show->trigger();
    return form().itemWindow(task);
}

void ItemViewsTest::selectAddress(ItemListFrame &list, const QString &address) {
    const ItemListModel &model = list.model();
    for (int k = 0; k < model.size(); ++k)
        if (model.row(k).address == address) {
            QVERIFY(list.selectResource(model.row(k).resource));
            return;
        }
    QFAIL(qPrintable(QStringLiteral("no row for ") + address));
}

void ItemViewsTest::theListShowsWhatLarkListsAndFiltersByType() {
    ItemWindow *window = openFilesList();
    QVERIFY(window);
    QCOMPARE(form().itemWindow(1), window);
    const FileLines expected = larkItems(fixture_.preparedProject(), 1);
    QVERIFY(expected.size() >= 6);
    QCOMPARE(linesOf(list(window).model()), expected);
    // The first row is selected once the list is loaded; the status line describes it.
    QCOMPARE(list(window).selectedCount(), 1);
    const ItemRow first = list(window).model().row(0);
    QCOMPARE(statusOf(window), QStringLiteral("1 of %1 object(s) selected. TotalSize=%2 (%3, Size=%4, %5)")
                                   .arg(expected.size())
                                   .arg(groupedNumber(list(window).model().totalSize()))
                                   .arg(viewStateName(first.state))
                                   .arg(groupedNumber(first.size))
                                   .arg(first.address));
    list(window).view().clearSelection();
    QVERIFY(statusOf(window).startsWith(QStringLiteral("%1 object(s). TotalSize=").arg(expected.size())));

    // Asking again shows the same window.
    QCOMPARE(openFilesList(), window);

    // Without the HTML button only the other files are listed; with it again, all of them.
    int html = 0;
    for (int k = 0; k < list(window).model().size(); ++k) html += list(window).model().row(k).type == ItemRow::Html;
    QVERIFY(html >= 3);
    window->typeButton(QStringLiteral("HTML"))->setChecked(false);
    QCOMPARE(list(window).model().size(), expected.size() - html);
    for (int k = 0; k < list(window).model().size(); ++k) QVERIFY(list(window).model().row(k).type != ItemRow::Html);
    selectAddress(list(window), url(QStringLiteral("/images/logo.png")));
    screenshot(window, QStringLiteral("files-list-without-html.png"));
    window->typeButton(QStringLiteral("HTML"))->setChecked(true);
    QCOMPARE(linesOf(list(window).model()), expected);

    // The item properties show the selected file's values.
    selectAddress(list(window), url(QStringLiteral("/index.html")));
    QString title;
    whenOpen<ItemPropertiesDialog>([&title](ItemPropertiesDialog *dialog) {
        title = dialog->findChild<QLabel *>(QStringLiteral("title"))->text();
        QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("url"))->textFormat(), Qt::PlainText);
        screenshot(dialog, QStringLiteral("item-properties.png"));
        dialog->accept();
    });
    list(window).command(QStringLiteral("acProperties"))->trigger();
    QCOMPARE(title, QStringLiteral("Test site"));
}

void ItemViewsTest::relatedFilesAreThePagesStoredLinks() {
    ItemWindow *window = openFilesList();
    QVERIFY(window);
    window->linkExplorer()->trigger();
    RelatedFilesPanel &related = window->relatedFiles();
    QVERIFY(related.isVisible());
    QCOMPARE(related.tabText(0), QStringLiteral("Contains"));
    QCOMPARE(related.tabText(1), QStringLiteral("Links to"));
    QCOMPARE(related.tabText(2), QStringLiteral("Referenced by"));
    QSignalSpy loaded(&related, &RelatedFilesPanel::loaded);
    const QString index = url(QStringLiteral("/index.html"));
    selectAddress(list(window), index);
    QTRY_VERIFY_WITH_TIMEOUT(related.resource() == list(window).currentRow()->resource && !loaded.isEmpty(), 3000);

    QCOMPARE(addressesOf(related.list(0).model()), larkLinks(fixture_.preparedProject(), index, false));
    QCOMPARE(addressesOf(related.list(1).model()), larkLinks(fixture_.preparedProject(), index, true));
    QVERIFY(addressesOf(related.list(1).model()).contains(url(QStringLiteral("/page2.html"))));
    related.setCurrentIndex(1);
    screenshot(window, QStringLiteral("files-list-link-explorer.png"));

    // The second page is referenced by the first.
    loaded.clear();
    selectAddress(list(window), url(QStringLiteral("/page2.html")));
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 3000);
    QCOMPARE(addressesOf(related.list(2).model()), QStringList{index});

    // Double-clicking a related file that the list shows selects it there.
    ItemListFrame &referencing = related.list(2);
    related.setCurrentIndex(2);
    QVERIFY(referencing.selectResource(referencing.model().row(0).resource));
    emit referencing.view().doubleClicked(referencing.model().index(0, 0));
    QCOMPARE(list(window).currentRow()->address, index);
}

void ItemViewsTest::theMainFileIsNotDeleted() {
    ItemWindow *window = openFilesList();
    QVERIFY(window);
    const int before = list(window).model().size();
    selectAddress(list(window), url(QStringLiteral("/index.html")));
    QAction *remove = list(window).command(QStringLiteral("acDelete"));
    QVERIFY(remove->isEnabled());
    QCOMPARE(remove->shortcut(), QKeySequence(QKeySequence::Delete));
    QString asked, told;
    whenOpen<QMessageBox>([&](QMessageBox *box) {
        asked = box->text();
        answerMessageBox(QMessageBox::Ok, &told);
        box->button(QMessageBox::Ok)->click();
    });
    remove->trigger();
    QCOMPARE(asked, QStringLiteral("Are you sure you want to delete these 1 item(s)?"));
    QCOMPARE(told, QStringLiteral("1 file(s) were not deleted. You are trying to delete the main file of a task. "
                                  "Operation not allowed."));
    QCOMPARE(list(window).model().size(), before);
    QVERIFY(stored(url(QStringLiteral("/index.html"))));

    // Another file goes, and its row with it.
    selectAddress(list(window), url(QStringLiteral("/files/data.bin")));
    answerMessageBox(QMessageBox::Ok, &asked);
    remove->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(list(window).model().size(), before - 1, 3000);
    QVERIFY(!stored(url(QStringLiteral("/files/data.bin"))));
}

void ItemViewsTest::filesBecomeTasks() {
    ItemWindow *window = openFilesList();
    QVERIFY(window);
    const uint32_t folder = form().project().selectedFolder();
    QVERIFY(folder != 0);
    const size_t before = form().project().folderTasks(folder).size();
    selectAddress(list(window), url(QStringLiteral("/page2.html")));
    const int page2 = list(window).view().currentIndex().row();
    selectAddress(list(window), url(QStringLiteral("/evil.html")));
    list(window).view().selectionModel()->select(list(window).model().index(page2, 0),
                                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QAction *create = list(window).command(QStringLiteral("acCreateTask"));
    QVERIFY(create->isEnabled());
    QString asked;
    answerMessageBox(QMessageBox::Ok, &asked);
    create->trigger();
    QCOMPARE(asked, QStringLiteral("Do you want create 2 task(s)\r\nin: ") + folderPath(folder));
    const std::vector<TaskRow> tasks = form().project().folderTasks(folder);
    QCOMPARE(tasks.size(), before + 2);
    QStringList made;
    for (size_t k = before; k < tasks.size(); ++k) {
        made << tasks[k].url;
        QCOMPARE(tasks[k].depth, 0u);
    }
    made.sort();
    QCOMPARE(made, (QStringList{url(QStringLiteral("/evil.html")), url(QStringLiteral("/page2.html"))}));

    // Cancel creates nothing.
    answerMessageBox(QMessageBox::Cancel, &asked);
    create->trigger();
    QCOMPARE(form().project().folderTasks(folder).size(), before + 2);
}

void ItemViewsTest::viewSourceWritesTheStoredText() {
    ItemWindow *window = openFilesList();
    QVERIFY(window);
    OpenedFiles opened;
    selectAddress(list(window), url(QStringLiteral("/index.html")));
    QAction *view = list(window).command(QStringLiteral("acViewSource"));
    QCOMPARE(view->shortcut(), QKeySequence(Qt::Key_F3));
    view->trigger();
    QCOMPARE(opened.urls.size(), 1);
    const QString path = opened.urls.front().toLocalFile();
    QVERIFY(path.endsWith(QStringLiteral("/LarkTMP/index.html.txt")));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QFile original(QString::fromStdString((fixture_.siteRoot() / "index.html").string()));
    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), original.readAll());
}

void ItemViewsTest::filesArriveWhileACrawlRuns() {
    // Pages the project has not seen, for a new task not yet run: its list holds the queued start page alone.
    std::filesystem::create_directories(fixture_.siteRoot() / "fresh");
    writeFile(fixture_.siteRoot() / "fresh/start.html",
              "<html><head><title>Fresh</title></head><body><img src=\"picture.png\">"
              "<a href=\"next.html\">next</a><a href=\"notes.txt\">notes</a></body></html>");
    writeFile(fixture_.siteRoot() / "fresh/next.html", "<html><body><a href=\"start.html\">back</a></body></html>");
    writeFile(fixture_.siteRoot() / "fresh/notes.txt", "Some notes.");
    writeFile(fixture_.siteRoot() / "fresh/picture.png", std::string(300, 'p'));
    form().project().setRunning(false);
    const int task = form().project().createTask(url(QStringLiteral("/fresh/start.html")), 1, kRootFolder);
    QVERIFY(task > 0);
    ItemWindow *window = openFilesList(static_cast<uint32_t>(task));
    QVERIFY(window);
    window->linkExplorer()->trigger();
    const int before = list(window).model().size();
    QCOMPARE(before, 1);

    // Running it adds the files its page links to, and the status line counts them.
    form().project().setRunning(true);
    QTRY_VERIFY_WITH_TIMEOUT(list(window).model().size() > before, 10000);
    screenshot(&form(), QStringLiteral("files-list-during-crawl.png"));
    const QString data = url(QStringLiteral("/fresh/notes.txt"));
    QTRY_VERIFY_WITH_TIMEOUT(addressesOf(list(window).model()).contains(data), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            for (int k = 0; k < list(window).model().size(); ++k)
                if (!list(window).model().row(k).retrieved()) return false;
            return true;
        }(),
        15000);
    const int rows = list(window).model().size();
    list(window).view().clearSelection();
    QVERIFY(statusOf(window).startsWith(QString::number(rows) + QStringLiteral(" object(s). TotalSize=")));
    QVERIFY(window->findChild<QLabel *>(QStringLiteral("itemStatus"))->textFormat() == Qt::PlainText);
    selectAddress(list(window), url(QStringLiteral("/fresh/start.html")));
    QTRY_COMPARE_WITH_TIMEOUT(window->relatedFiles().list(1).model().size(), 2, 3000);
    screenshot(&form(), QStringLiteral("files-list-after-crawl.png"));

    // Deleting the task closes its window.
    QVERIFY(form().project().deleteTask(static_cast<uint32_t>(task)));
    QTRY_VERIFY_WITH_TIMEOUT(form().itemWindow(static_cast<uint32_t>(task)) == nullptr, 2000);
}

void ItemViewsTest::aLongListLoadsUnderAProgressDialog() {
    // The crawled task's few files load without the dialog.
    {
        ShownProgress shown;
        QVERIFY(openFilesList());
        QVERIFY(shown.titles.isEmpty());
    }
    // A task of 301 files: a page linking 300 texts.
    std::filesystem::create_directories(fixture_.siteRoot() / "many");
    std::string page = "<html><body>";
    for (int k = 0; k < 300; ++k) {
        const std::string name = "t" + std::to_string(k) + ".txt";
        writeFile(fixture_.siteRoot() / "many" / name, "text " + std::to_string(k));
        page += "<a href=\"" + name + "\">" + name + "</a>";
    }
    writeFile(fixture_.siteRoot() / "many/index.html", page + "</body></html>");
    const int task = form().project().createTask(url(QStringLiteral("/many/index.html")), 1, kRootFolder);
    QVERIFY(task > 0);
    form().project().setRunning(true);
    QTRY_VERIFY_WITH_TIMEOUT(form().project().task(static_cast<uint32_t>(task))->retrieved == 301, 30000);
    ShownProgress shown;
    ItemWindow *window = openFilesList(static_cast<uint32_t>(task));
    QVERIFY(window);
    QCOMPARE(list(window).model().size(), 301);
    QCOMPARE(shown.titles, QStringList{QStringLiteral("Opening file list ...")});
}

// A file opened from the list: the browser's Back and Forward open the
// list's previous and next files, and its own history once the list is gone.
void ItemViewsTest::theBrowsersBackAndForwardStepThroughTheList() {
    ItemWindow *window = openFilesList();
    QVERIFY(window);
    ItemListFrame &files = list(window);
    const ItemListModel &rows = files.model();
    int first = 0;
    while (first + 1 < rows.size() && !(rows.row(first).hasResource() && rows.row(first + 1).hasResource())) ++first;
    QVERIFY(first + 1 < rows.size());
    const QString firstAddress = rows.row(first).address, secondAddress = rows.row(first + 1).address;
    QVERIFY(files.selectResource(rows.row(first).resource));
    files.command(QStringLiteral("acOpen"))->trigger();
    auto *browser = qobject_cast<BrowserForm *>(form().findChild<QTabWidget *>()->currentWidget());
    QVERIFY(browser);
    QTRY_COMPARE_WITH_TIMEOUT(browser->pageAddress(), firstAddress, 20000);
    QAction *back = nullptr, *forward = nullptr;
    for (QAction *action : browser->findChild<QToolBar *>()->actions()) {
        if (action->text() == QStringLiteral("Back")) back = action;
        if (action->text() == QStringLiteral("Forward")) forward = action;
    }
    QVERIFY(back && forward);
    QVERIFY(forward->isEnabled());

    forward->trigger();
    QCOMPARE(files.currentRow()->address, secondAddress);
    QTRY_COMPARE_WITH_TIMEOUT(browser->pageAddress(), secondAddress, 20000);
    back->trigger();
    QCOMPARE(files.currentRow()->address, firstAddress);
    QTRY_COMPARE_WITH_TIMEOUT(browser->pageAddress(), firstAddress, 20000);

    // The list closed, Back goes through the page's own history.
    QPointer<ItemWindow> closing = window;
    window->close();
    QTRY_VERIFY(closing.isNull());
    QVERIFY(back->isEnabled());
    back->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(browser->pageAddress(), secondAddress, 20000);
}

void ItemViewsTest::theRelatedFilesKeepTheHeightTheyWereGiven() {
    form().resize(1200, 1000);  // room for the list above the panel
    // The window's panel shown once the window has its place, as the user sees it.
    const auto openWithPanel = [this]() -> QSplitter * {
        ItemWindow *window = openFilesList();
        if (!window) return nullptr;
        QSplitter *splitter = window->findChild<QSplitter *>();
        if (!QTest::qWaitFor([splitter] { return splitter->widget(0)->height() == splitter->height(); }))
            return nullptr;
        window->showRelatedFiles(true);
        if (!QTest::qWaitFor([splitter] { return splitter->handle(1)->y() == splitter->sizes().at(0); }))
            return nullptr;
        return splitter;
    };
    QSplitter *splitter = openWithPanel();
    QVERIFY(splitter);
    const int third = splitter->sizes().at(1);
    QVERIFY(std::abs(third - (splitter->height() - splitter->handleWidth()) / 3) <= 1);
    dragUp(splitter->handle(1), 80);
    const int dragged = splitter->sizes().at(1);
    QVERIFY2(dragged > third + 40, qPrintable(QStringLiteral("%1 -> %2").arg(third).arg(dragged)));

    auto *window = qobject_cast<ItemWindow *>(splitter->parentWidget());
    QVERIFY(window);
    window->showRelatedFiles(false);
    window->showRelatedFiles(true);
    QCOMPARE(splitter->sizes().at(1), dragged);
    QPointer<ItemWindow> closing = window;
    window->close();
    QTRY_VERIFY(closing.isNull());
    splitter = openWithPanel();
    QVERIFY(splitter);
    QCOMPARE(splitter->sizes().at(1), dragged);  // kept for the next window too
}

// The data of a drag out of the list: the program's own targets read the
// files' addresses; another program asks for the files and gets them
// exported into the temporary folder, once.
void ItemViewsTest::draggedFilesAreAddressesToTheProgramAndExportedFilesToOthers() {
    ItemWindow *window = openFilesList();
    QVERIFY(window);
    ItemListFrame &files = list(window);
    const auto dragged = [&files] {
        return std::unique_ptr<QMimeData>(files.model().mimeData(files.view().selectionModel()->selectedIndexes()));
    };
    const QString logo = url(QStringLiteral("/images/logo.png")), page = url(QStringLiteral("/page2.html"));
    QDir exported(itemExportFolder());
    QDir().mkpath(exported.path());
    writeFile(exported.filePath(QStringLiteral("stale.txt")).toStdString(), "from an earlier drag");

    // Over a window of the program, no files are offered: the browser asks as a drag enters it.
    selectAddress(files, logo);
    QCursor::setPos(form().mapToGlobal(form().rect().center()));
    QTRY_VERIFY(QApplication::widgetAt(QCursor::pos()));
    QVERIFY(dragged()->urls().isEmpty());
    QVERIFY(exported.exists(QStringLiteral("stale.txt")));

    // Outside them, one file that is not a page is written as it was stored, without asking.
    const QRect screen = form().screen()->geometry();
    QCursor::setPos(screen.bottomRight());
    QTRY_VERIFY(!QApplication::widgetAt(QCursor::pos()));
    const uint32_t logoResource = files.currentRow()->resource;
    std::unique_ptr<QMimeData> data = dragged();
    QVERIFY(data && data->hasFormat(transfer::kFormat) && data->hasUrls());
    const QList<QUrl> one = data->urls();
    QCOMPARE(one.size(), 1);
    QCOMPARE(one.first().fileName(), QStringLiteral("logo.png"));
    QFile written(one.first().toLocalFile()),
        original(QString::fromStdString((fixture_.siteRoot() / "images/logo.png").string()));
    QVERIFY(written.open(QIODevice::ReadOnly) && original.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), original.readAll());
    QVERIFY(!exported.exists(QStringLiteral("stale.txt")));

    // Several files: the program's targets read ITEM with address and form
    // data for each in list order; others get them after the export dialog.
    selectAddress(files, page);
    const QModelIndex logoRow = files.model().index(files.model().indexOf(logoResource), 0);
    files.view().selectionModel()->select(logoRow, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const std::vector<ItemRow> rows = files.selectedRows();
    QCOMPARE(rows.size(), size_t(2));
    data = dragged();
    const std::optional<transfer::Text> text = transfer::parse(data->data(transfer::kFormat));
    QVERIFY(text);
    QCOMPARE(text->kind, transfer::kItem);
    QVERIFY(transfer::sameProject(text->projectPath, form().project().fileName()));
    QCOMPARE(text->lines.value(0), rows[0].address);
    QCOMPARE(text->lines.value(1), rows[0].formData);
    QCOMPARE(text->lines.value(2), rows[1].address);
    QCOMPARE(text->lines.value(3), rows[1].formData);  // the last empty line is not sent
    bool asked = false;
    whenOpen<ExportItemDialog>([&asked](ExportItemDialog *dialog) {
        asked = true;
        dialog->accept();
    });
    QCOMPARE(data->urls().size(), 2);
    QVERIFY(asked);
    QCOMPARE(exported.entryList(QDir::Files).size(), 2);
    QCOMPARE(data->urls().size(), 2);  // asked again: the same files, no second dialog

    // Dropped on a folder of the same project, they become tasks.
    const int before = form().taskList().model().rowCount();
    QCOMPARE(receiveTransfer(&form(), form().project(), form().project().selectedFolder(), *data), 2);
    QTRY_COMPARE(form().taskList().model().rowCount(), before + 2);
}

SITELARK_GUI_TEST_MAIN(ItemViewsTest)
#include "ItemViewsTest.moc"
