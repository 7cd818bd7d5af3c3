// The Website Structure window of the crawled site's task: its directory
// holds every file of the task, gives each address back and loses a file
// deleted from the project; a crawl run while it is open fills it from a
// start page shown as "(Default page)"; the sitemap shows the start page's
// stored links and marks a page that links back to its parent; the related
// files below each tree follow its selection; the window follows its
// task's name and closes when the task is deleted.

#include <set>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "EngineLibrary.h"
#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "KestProject.h"
#include "items/DirectoryModel.h"
#include "items/ItemCommands.h"
#include "items/ItemListFrame.h"
#include "items/ItemListModel.h"
#include "items/RelatedFilesPanel.h"
#include "items/SitemapModel.h"
#include "items/WebsiteStructureWindow.h"
#include "views/TaskListFrame.h"
#include "views/TaskListModel.h"

using namespace gui_test;

namespace {

using Addresses = std::set<QString>;

// The addresses in the last column of lark's list of the task's items.
Addresses larkItems(const QString &project, uint32_t task) {
    Addresses addresses;
    const QStringList lines =
        larkOutput({QStringLiteral("items"), project, QString::number(task)}).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : lines.mid(1)) addresses.insert(line.split(u' ', Qt::SkipEmptyParts).value(5));
    return addresses;
}

// The addresses of the links lark finds stored for the page, by the kind's name.
Addresses larkLinks(const QString &project, const QString &page, const QString &kind) {
    Addresses addresses;
    for (const QString &line : larkOutput({QStringLiteral("links"), project, page}).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(u'\t');
        if (fields.value(1) == kind) addresses.insert(fields.value(2));
    }
    return addresses;
}

// The addresses of every file node below the parent, each folder opened on
// the way, joined from the node texts; those that differ from their file's
// own address go to misjoined as well.
void collectFiles(QTreeView &view, DirectoryModel &model, const QModelIndex &parent, Addresses &found,
                  Addresses &misjoined) {
    view.expand(parent);
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex at = model.index(row, 0, parent);
        const ItemRow *file = model.file(at);
        if (!file) {
            collectFiles(view, model, at, found, misjoined);
            continue;
        }
        found.insert(model.address(at));
        if (model.address(at) != file->address) misjoined.insert(model.address(at));
    }
}

Addresses addressesOf(const ItemListModel &files) {
    Addresses addresses;
    for (int row = 0; row < files.size(); ++row) addresses.insert(files.row(row).address);
    return addresses;
}

QModelIndex childNamed(const QAbstractItemModel &model, const QModelIndex &parent, const QString &address) {
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex at = model.index(row, 0, parent);
        if (at.data().toString().contains(QStringLiteral("(") + address + u')') || at.data().toString() == address)
            return at;
    }
    return {};
}

}  // namespace

class WebsiteStructureTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::Crawled); }
    void init();
    void cleanup() { fixture_.tearDown(); }

    void theDirectoryHoldsEveryFileOfTheTaskAndGivesEachAddressBack();
    void aCrawlWhileTheWindowIsOpenFillsItsDirectoryFromTheDefaultPage();
    void theSitemapShowsTheStoredLinksAndMarksAPageLinkingBackToItsParent();
    void theRelatedFilesFollowEachTreeAndOneChosenInTheDirectorysIsSelectedThere();
    void theWindowIsOnePerTaskFollowsItsNameAndClosesWithIt();
    void eachTreeCarriesTheFileCommandsOnItsSelectedFile();

private:
    TaskListFrame &list() const { return form().taskList(); }
    // Opens the window of the crawled task with the task list's command.
    WebsiteStructureWindow *openWindow() {
        QAction *command = list().command(QStringLiteral("acShowWebsiteStructure"));
        if (!list().selectTask(task_) || !command->isEnabled()) return nullptr;
        command->trigger();
        auto *tabs = qobject_cast<QTabWidget *>(form().centralWidget());
        return tabs ? qobject_cast<WebsiteStructureWindow *>(tabs->currentWidget()) : nullptr;
    }

    uint32_t task_ = 0;
};

void WebsiteStructureTest::init() {
    fixture_.setUp();
    QTRY_VERIFY_WITH_TIMEOUT(list().model().rowCount() > 0, 5000);
    task_ = list().model().row(0).id;
}

void WebsiteStructureTest::theDirectoryHoldsEveryFileOfTheTaskAndGivesEachAddressBack() {
    WebsiteStructureWindow *window = openWindow();
    QVERIFY(window);
    QCOMPARE(window->tabs().tabText(0), QStringLiteral("Directory"));
    QCOMPARE(window->tabs().tabText(1), QStringLiteral("Sitemap"));
    const Addresses expected = larkItems(fixture_.preparedProject(), task_);
    QVERIFY(expected.size() >= 8);
    QCOMPARE(window->directory().fileCount(), expected.size());
    Addresses shown, misjoined;
    collectFiles(window->directoryView(), window->directory(), {}, shown, misjoined);
    QCOMPARE(shown, expected);
    QCOMPARE(misjoined, Addresses{});

    // The top is the scheme's folder, then the host's, with the site's folders before its files.
    QCOMPARE(window->directory().rowCount(), 1);  // "http:/" holds both servers of the crawl
    const QModelIndex scheme = window->directory().index(0, 0);
    QCOMPARE(scheme.data().toString(), QStringLiteral("http:/"));
    const QModelIndex host = window->directory().find(url(QStringLiteral("/index.html")), QString()).parent();
    QCOMPARE(window->directory().address(host), url(QString()));
    QStringList names;
    for (int row = 0; row < window->directory().rowCount(host); ++row)
        names << window->directory().index(row, 0, host).data().toString();
    QCOMPARE(names.mid(0, 3), (QStringList{"css", "files", "images"}));
    QVERIFY(names.contains(QStringLiteral("index.html")));

    const QModelIndex page = window->directory().find(url(QStringLiteral("/page2.html")), QString());
    window->directoryView().setCurrentIndex(page);
    QCOMPARE(window->statusText(), url(QStringLiteral("/page2.html")) + QStringLiteral(", Size: ") +
                                       groupedNumber(window->directory().file(page)->size));
    window->directoryView().setCurrentIndex(host);
    QCOMPARE(window->statusText(), QStringLiteral("No selected"));
    window->directoryView().setCurrentIndex(page);
    screenshot(&form(), QStringLiteral("website-structure-directory.png"));

    // A file deleted from the project leaves the tree.
    QVERIFY(engine().Eng_DeleteUrlRes(window->directory().file(page)->resource));
    QTRY_VERIFY_WITH_TIMEOUT(!window->directory().find(url(QStringLiteral("/page2.html")), QString()).isValid(), 5000);
    QCOMPARE(window->directory().fileCount(), expected.size() - 1);
}

void WebsiteStructureTest::aCrawlWhileTheWindowIsOpenFillsItsDirectoryFromTheDefaultPage() {
    const int created = form().project().createTask(url(QStringLiteral("/")), 1, form().project().selectedFolder());
    QVERIFY(created > 0);
    task_ = static_cast<uint32_t>(created);
    QTRY_VERIFY_WITH_TIMEOUT(list().model().indexOf(task_) >= 0, 5000);
    WebsiteStructureWindow *window = openWindow();
    QVERIFY(window);
    DirectoryModel &directory = window->directory();
    QCOMPARE(directory.fileCount(), size_t{1});
    const QModelIndex start = directory.find(url(QStringLiteral("/")), QString());
    QVERIFY(start.isValid());
    QCOMPARE(start.data().toString(), QStringLiteral("(Default page)"));
    QCOMPARE(directory.address(start.parent()), url(QString()));

    // The crawl's files land in the open folder at their places, folders first.
    form().project().setRunning(true);
    const auto retrieved = [&](const QString &path) {
        const ItemRow *file = directory.file(directory.find(url(path), QString()));
        return file && file->state == TaskRow::Ok;
    };
    QTRY_VERIFY_WITH_TIMEOUT(retrieved(QStringLiteral("/page2.html")) && retrieved(QStringLiteral("/")), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(retrieved(QStringLiteral("/images/logo.png")), 30000);
    form().project().setRunning(false);
    const QModelIndex host = start.parent();
    QStringList names;
    for (int row = 0; row < directory.rowCount(host); ++row) names << directory.index(row, 0, host).data().toString();
    QCOMPARE(names.mid(0, 2), (QStringList{"images", "(Default page)"}));
    QVERIFY(names.contains(QStringLiteral("page2.html")));
    QCOMPARE(window->directoryView().model()->rowCount(host), directory.rowCount(host));
}

void WebsiteStructureTest::theSitemapShowsTheStoredLinksAndMarksAPageLinkingBackToItsParent() {
    WebsiteStructureWindow *window = openWindow();
    QVERIFY(window);
    window->tabs().setCurrentIndex(1);
    SitemapModel &sitemap = window->sitemap();
    QCOMPARE(sitemap.rowCount(), 1);
    const QModelIndex top = sitemap.index(0, 0);
    QCOMPARE(top.data().toString(), QStringLiteral("Test site, (%1)").arg(url(QStringLiteral("/index.html"))));
    QCOMPARE(top.data(SitemapModel::kStatePictureRole).toInt(), int{TaskRow::Ok});
    QVERIFY(window->sitemapView().isExpanded(top));

    // Its children are its stored links to pages and to files of no known
    // type (here hyperlinks: the image is no such file).
    Addresses shown;
    for (int row = 0; row < sitemap.rowCount(top); ++row)
        shown.insert(sitemap.file(sitemap.index(row, 0, top))->address);
    const QString project = fixture_.preparedProject();
    const QString start = url(QStringLiteral("/index.html"));
    Addresses expected;
    for (const QString &link : larkLinks(project, start, QStringLiteral("link"))) {
        const ItemRow *target = window->directory().file(window->directory().find(link, QString()));
        QVERIFY2(target, qPrintable(link));
        if (target->type == ItemRow::Other || target->type == ItemRow::Html) expected.insert(link);
    }
    QVERIFY(expected.size() >= 3);
    QCOMPARE(shown, expected);
    const Addresses images = larkLinks(project, start, QStringLiteral("image"));
    QCOMPARE(images, Addresses{url(QStringLiteral("/images/logo.png"))});
    QVERIFY(!shown.count(*images.begin()));

    // The second page links back to the start page: shown again, marked, closed.
    const QModelIndex second = childNamed(sitemap, top, url(QStringLiteral("/page2.html")));
    QVERIFY(second.isValid());
    QVERIFY(sitemap.hasChildren(second));
    window->sitemapView().expand(second);
    QTRY_VERIFY(sitemap.rowCount(second) > 0);
    const QModelIndex back = childNamed(sitemap, second, start);
    QVERIFY(back.isValid());
    QCOMPARE(back.data(SitemapModel::kStatePictureRole).toInt(), SitemapModel::kRepeated);
    QVERIFY(!sitemap.hasChildren(back));
    QVERIFY(!sitemap.canFetchMore(back));
    QCOMPARE(sitemap.file(back), sitemap.file(top));  // one row for the resource
    const QModelIndex styled = childNamed(sitemap, second, url(QStringLiteral("/styled.html")));
    QVERIFY(styled.isValid());
    QCOMPARE(styled.data(SitemapModel::kStatePictureRole).toInt(), int{TaskRow::Ok});
    window->sitemapView().setCurrentIndex(back);
    QCOMPARE(window->statusText(), start + QStringLiteral(", Size: ") + groupedNumber(sitemap.file(top)->size));
    screenshot(&form(), QStringLiteral("website-structure-sitemap.png"));
}

void WebsiteStructureTest::theRelatedFilesFollowEachTreeAndOneChosenInTheDirectorysIsSelectedThere() {
    WebsiteStructureWindow *window = openWindow();
    QVERIFY(window);
    RelatedFilesPanel &panel = window->directoryPanel();
    QVERIFY(panel.isVisible());
    QSignalSpy loaded(&panel, &RelatedFilesPanel::loaded);
    const QString second = url(QStringLiteral("/page2.html"));
    const QModelIndex page = window->directory().find(second, QString());
    window->directoryView().setCurrentIndex(page);
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 3000);
    QCOMPARE(panel.resource(), window->directory().file(page)->resource);
    ItemListFrame &linked = panel.list(1);
    QCOMPARE(addressesOf(linked.model()), larkLinks(fixture_.preparedProject(), second, QStringLiteral("link")));
    QCOMPARE(addressesOf(panel.list(2).model()), Addresses{url(QStringLiteral("/index.html"))});

    // The user's selection in a list shows in the status bar.
    panel.setCurrentIndex(1);
    QApplication::setActiveWindow(&form());
    linked.shownView().setFocus();
    QTRY_VERIFY(linked.shownView().hasFocus());
    const QString styled = url(QStringLiteral("/styled.html"));
    int row = 0;
    while (row < linked.model().size() && linked.model().row(row).address != styled) ++row;
    QVERIFY(row < linked.model().size());
    QVERIFY(linked.selectResource(linked.model().row(row).resource));
    QCOMPARE(window->statusText(), QStringLiteral("1 of %1 object(s) selected. Size:%2")
                                       .arg(linked.model().size())
                                       .arg(groupedNumber(linked.model().totalSize())));
    screenshot(&form(), QStringLiteral("website-structure-related-files.png"));

    // Double-clicking a related file that the tree holds chooses it there.
    emit linked.view().doubleClicked(linked.model().index(row, 0));
    QCOMPARE(window->directory().address(window->directoryView().currentIndex()), styled);
    QCOMPARE(window->statusText().left(styled.size() + 8), styled + QStringLiteral(", Size: "));

    // The sitemap's panel follows the sitemap: the start page contains its image.
    window->tabs().setCurrentIndex(1);
    QSignalSpy sitemapLoaded(&window->sitemapPanel(), &RelatedFilesPanel::loaded);
    window->sitemapView().setCurrentIndex(window->sitemap().index(0, 0));
    QTRY_VERIFY_WITH_TIMEOUT(!sitemapLoaded.isEmpty(), 3000);
    QCOMPARE(addressesOf(window->sitemapPanel().list(0).model()), Addresses{url(QStringLiteral("/images/logo.png"))});
}

void WebsiteStructureTest::theWindowIsOnePerTaskFollowsItsNameAndClosesWithIt() {
    QPointer<WebsiteStructureWindow> window = openWindow();
    QVERIFY(window);
    auto *tabs = qobject_cast<QTabWidget *>(form().centralWidget());
    const int pages = tabs->count();
    tabs->setCurrentIndex(0);
    QCOMPARE(openWindow(), window.data());  // the same window comes to the front
    QCOMPARE(tabs->count(), pages);

    std::optional<TaskRow> task = form().project().task(task_);
    QVERIFY(task);
    task->name = QStringLiteral("Renamed site");
    QVERIFY(form().project().updateTask(*task));
    QTRY_COMPARE_WITH_TIMEOUT(tabs->tabText(tabs->indexOf(window)), QStringLiteral("Renamed site"), 5000);
    QCOMPARE(window->caption(), QStringLiteral("Renamed site"));

    QVERIFY(form().project().deleteTask(task_));
    QTRY_VERIFY_WITH_TIMEOUT(window.isNull(), 5000);
    QCOMPARE(tabs->count(), pages - 1);
}

// The commands of the item views act on a tree's current file, from its
// context menu and its keys: a folder node offers none of them.
void WebsiteStructureTest::eachTreeCarriesTheFileCommandsOnItsSelectedFile() {
    WebsiteStructureWindow *window = openWindow();
    QVERIFY(window);
    ItemCommands &commands = window->directoryCommands();
    QTreeView &tree = window->directoryView();
    const auto enabled = [&commands](const char *name) {
        return commands.command(QString::fromLatin1(name))->isEnabled();
    };
    const QString second = url(QStringLiteral("/page2.html"));
    const QModelIndex page = window->directory().find(second, QString());
    QVERIFY(page.isValid());
    tree.setCurrentIndex(page.parent());  // the site's folder
    QVERIFY(!enabled("acOpen") && !enabled("acProperties") && !enabled("acTestFilter"));
    tree.setCurrentIndex(page);
    QVERIFY(enabled("acOpen") && enabled("acViewSource") && enabled("acProperties") && enabled("acTestFilter"));

    // The context menu lists them in the item views' order.
    QStringList entries;
    auto *poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [poll, &entries] {
        if (QWidget *menu = QApplication::activePopupWidget()) {
            for (QAction *entry : menu->actions())
                entries << (entry->isSeparator() ? QStringLiteral("-") : entry->text());
            screenshot(menu, QStringLiteral("website-structure-menu.png"));
            poll->deleteLater();
            menu->close();
        }
    });
    poll->start(20);
    emit tree.customContextMenuRequested(tree.visualRect(page).center());
    QCOMPARE(entries,
             (QStringList{QStringLiteral("Open"), QStringLiteral("Open in New Window"), QStringLiteral("-"),
                          QStringLiteral("Save As ..."), QStringLiteral("Refresh"), QStringLiteral("Create Task"),
                          QStringLiteral("Delete"), QStringLiteral("View Source"), QStringLiteral("-"),
                          QStringLiteral("Properties"), QStringLiteral("Test Filter"), QStringLiteral("Legend")}));

    // Test Filter asks for the filter page of the file's item in its task.
    QSignalSpy reports(window, &WebsiteStructureWindow::infoPageRequested);
    commands.command(QStringLiteral("acTestFilter"))->trigger();
    QCOMPARE(reports.size(), 1);
    const ItemRow *file = window->directory().file(page);
    QCOMPARE(reports.first().first().toUrl(),
             QUrl(QStringLiteral("qzinfo://itemtestfilter/%1/%2").arg(task_).arg(file->item)));

    // Enter on the tree opens the file in the browser.
    QSignalSpy opened(window, &WebsiteStructureWindow::openRequested);
    QApplication::setActiveWindow(&form());
    tree.setFocus();
    QTRY_VERIFY(tree.hasFocus());
    QTest::keyClick(&tree, Qt::Key_Return);
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.first().first().toString(), second);
    QCOMPARE(opened.first().at(1).toUInt(), task_);
}

SITELARK_GUI_TEST_MAIN(WebsiteStructureTest)
#include "WebsiteStructureTest.moc"
