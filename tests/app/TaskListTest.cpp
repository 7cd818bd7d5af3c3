// The task list with a real engine and nginx: a task made through the New
// Task dialog with a filter and a depth, run, stopped, run again, crawled,
// edited and deleted, the list following every step; bad input in the
// dialog creates nothing; rows show and sort as the list means them to.

#include <QAbstractButton>
#include <QAction>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "GuiTestSite.h"
#include "MainForm.h"
#include "ModalAnswers.h"
#include "TaskCreation.h"
#include "dialogs/FilterEditor.h"
#include "dialogs/FilterText.h"
#include "dialogs/NewTaskDialog.h"
#include "dialogs/RefreshTaskDialog.h"
#include "dialogs/TaskFilterOptionsDialog.h"
#include "support/ScriptedHttpServer.h"
#include "views/CommonNamePart.h"
#include "views/TaskImport.h"
#include "views/TaskListFrame.h"
#include "views/TaskListModel.h"

using namespace gui_test;

namespace {

// What a message box said, with its details.
struct Shown {
    QString text;
    QString details;
    Qt::TextFormat detailsFormat = Qt::AutoText;
};

// Closes the next message box, keeping what it said.
void closeNextMessage(Shown *shown) {
    whenOpen<QMessageBox>([shown](QMessageBox *box) {
        shown->text = box->text();
        shown->details = box->informativeText();
        if (const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel")))
            shown->detailsFormat = label->textFormat();
        box->close();
    });
}

void fillGeneral(NewTaskDialog *dialog, const QString &address, const QString &depth, const QString &name) {
    dialog->findChild<QLineEdit *>(QStringLiteral("address"))->setText(address);
    dialog->findChild<QLineEdit *>(QStringLiteral("depth"))->setText(depth);
    dialog->findChild<QLineEdit *>(QStringLiteral("name"))->setText(name);
}

void setLinkPatterns(NewTaskDialog *dialog, const QString &patterns) {
    auto *filter = dialog->findChild<FilterEditor *>();
    filter->selectCategory(0);
    filter->patternMode()->setChecked(true);
    filter->patterns()->setPlainText(patterns);
}

}  // namespace

class TaskListTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::Empty); }
    void init() { fixture_.setUp(); }
    void cleanup() { fixture_.tearDown(); }

    void aTaskIsCreatedRunStoppedEditedAndDeleted();
    void badInputInTheDialogCreatesNothing();
    void rowsShowTheirValuesAndSortByEveryKey();
    void changesOfARunningTaskAreShownTogether();
    void theAddressBarGetsAndChangesTasks();
    void theFilterEditorKeepsOneEntryPerKindOfLink();
    void tasksAreRenamedImportedAndEditedTogether();

private:
    TaskListFrame &list() const { return form().taskList(); }
    const TaskRow *row(uint32_t task) const {
        const int at = list().model().indexOf(task);
        return at < 0 ? nullptr : &list().model().row(at);
    }
    void trigger(const QString &command) const {
        QAction *action = list().command(command);
        QVERIFY2(action->isEnabled(), qPrintable(command));
        action->trigger();
    }
};

void TaskListTest::aTaskIsCreatedRunStoppedEditedAndDeleted() {
    QCOMPARE(list().statusText(), QStringLiteral("0 task(s)"));
    whenOpen<NewTaskDialog>([this](NewTaskDialog *dialog) {
        fillGeneral(dialog, url(QStringLiteral("/index.html")), QStringLiteral("1"), QStringLiteral("Test site"));
        setLinkPatterns(dialog, QStringLiteral("*index* or *page2*"));
        dialog->show();
        screenshot(dialog, QStringLiteral("new-task-dialog.png"));
        dialog->accept();
    });
    // Offline, the new task offers to go online: not yet.
    QString offered;
    whenOpen<QMessageBox>([&offered](QMessageBox *box) {
        offered = box->text();
        box->button(QMessageBox::No)->click();
    });
    trigger(QStringLiteral("acNewTask"));
    QCOMPARE(offered, QStringLiteral("You are currently working in offline mode. Do you want to go online now?"));
    QCOMPARE(list().model().rowCount(), 1);
    const TaskRow created = list().model().row(0);
    QCOMPARE(created.name, QStringLiteral("Test site"));
    QCOMPARE(created.url, url(QStringLiteral("/index.html")));
    QCOMPARE(created.depth, 1u);
    const std::vector<FilterEntry> filter = parseFilter(created.filter);
    QCOMPARE(filter.size(), size_t{1});
    QCOMPARE(filter[0].mask, filter_masks::kLinks);
    QCOMPARE(filter[0].expression, QStringLiteral("*index* or *page2*"));
    // The new task is selected and waits for the project to go online.
    QCOMPARE(list().currentTask()->id, created.id);
    QCOMPARE(created.state, uint32_t{TaskRow::Queued});
    QCOMPARE(list().statusText(), QStringLiteral("1 of 1 task(s) selected (Queued; %1)").arg(created.url));

    trigger(QStringLiteral("acStop"));
    QTRY_COMPARE_WITH_TIMEOUT(row(created.id)->state, uint32_t{TaskRow::Stopped}, 5000);
    QVERIFY(list().selectTask(created.id));
    QVERIFY(!list().command(QStringLiteral("acStop"))->isEnabled());
    trigger(QStringLiteral("acRun"));
    QTRY_COMPARE_WITH_TIMEOUT(row(created.id)->state, uint32_t{TaskRow::Queued}, 5000);

    // Online, the crawl fills the counters: the start page, its image and the page the filter lets through.
    form().project().setRunning(true);
    QTRY_VERIFY_WITH_TIMEOUT(row(created.id)->retrieved > 0, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(row(created.id)->state, uint32_t{TaskRow::Ok}, 30000);
    QCOMPARE(row(created.id)->retrieved, 3u);
    QCOMPARE(row(created.id)->queued, 0u);
    QVERIFY(row(created.id)->size > 0);
    const QModelIndex retrieved = list().model().index(list().model().indexOf(created.id), TaskListModel::Retrieved);
    QCOMPARE(retrieved.data().toString(), QStringLiteral("3"));
    QVERIFY(list().selectTask(created.id));
    QVERIFY(list().statusText().startsWith(QStringLiteral("1 of 1 task(s) selected (Ok; Size=")));

    // Without errors to fetch again, Refresh offers only the whole task.
    QList<bool> choices;
    int mode = -1;
    whenOpen<RefreshTaskDialog>([&](RefreshTaskDialog *dialog) {
        for (const QRadioButton *choice : dialog->findChildren<QRadioButton *>()) choices << choice->isEnabled();
        mode = dialog->mode();
        dialog->reject();
    });
    trigger(QStringLiteral("acRefresh"));
    QCOMPARE(choices, (QList<bool>{false, false, true}));
    QCOMPARE(mode, ENG_REFRESH_ALL);

    // Properties: the dialog shows the task's values, and what is changed is written.
    QString shownAddress, shownDepth;
    whenOpen<NewTaskDialog>([&](NewTaskDialog *dialog) {
        shownAddress = dialog->findChild<QLineEdit *>(QStringLiteral("address"))->text();
        shownDepth = dialog->findChild<QLineEdit *>(QStringLiteral("depth"))->text();
        dialog->findChild<QLineEdit *>(QStringLiteral("name"))->setText(QStringLiteral("Renamed site"));
        dialog->findChild<QPlainTextEdit *>(QStringLiteral("notes"))->setPlainText(QStringLiteral("a note"));
        dialog->accept();
    });
    trigger(QStringLiteral("acProperties"));
    QCOMPARE(shownAddress, created.url);
    QCOMPARE(shownDepth, QStringLiteral("1"));
    QCOMPARE(form().project().task(created.id)->name, QStringLiteral("Renamed site"));
    QCOMPARE(form().project().task(created.id)->note, QStringLiteral("a note"));
    QCOMPARE(parseFilter(form().project().task(created.id)->filter)[0].expression, filter[0].expression);
    QTRY_COMPARE_WITH_TIMEOUT(list().model().index(0, 0).data().toString(), QStringLiteral("Renamed site"), 5000);

    // A page that never ends keeps a second task downloading, and the list shows the crawl running.
    test::ScriptedHttpServer endless;
    endless.routeEndless("/stream.html", "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n", std::string(4096, 'x'));
    const int streaming = form().project().createTask(QString::fromStdString(endless.url("/stream.html")), 0,
                                                      kRootFolder, QStringLiteral("Endless page"));
    QVERIFY(streaming > 0);
    QVERIFY(endless.waitForRequests(1, std::chrono::seconds(10)));
    QTRY_VERIFY_WITH_TIMEOUT(row(streaming) && row(streaming)->state == TaskRow::Queued, 5000);
    QCOMPARE(row(streaming)->queued, 1u);
    QTest::qWait(300);
    screenshot(&form(), QStringLiteral("task-list-running.png"));
    QVERIFY(list().selectTask(streaming));
    trigger(QStringLiteral("acStop"));
    QTRY_COMPARE_WITH_TIMEOUT(row(streaming)->state, uint32_t{TaskRow::Stopped}, 5000);

    // Delete asks, then the task and its row are gone.
    QVERIFY(list().selectTask(created.id));
    QString asked;
    answerMessageBox(QMessageBox::Ok, &asked);
    trigger(QStringLiteral("acDelete"));
    QCOMPARE(asked, QStringLiteral("Delete all resources associated with this task(s) ?"));
    QCOMPARE(list().model().rowCount(), 1);
    QVERIFY(!form().project().task(created.id));
    QCOMPARE(list().statusText(), QStringLiteral("1 task(s)"));
}

void TaskListTest::badInputInTheDialogCreatesNothing() {
    Shown badAddress, badFilter, badDepth;
    int pageAfterFilter = -1;
    bool stillOpen = false;
    whenOpen<NewTaskDialog>([&](NewTaskDialog *dialog) {
        fillGeneral(dialog, QStringLiteral("mailto:nobody"), QStringLiteral("1"), QString());
        setLinkPatterns(dialog, QStringLiteral("*index*"));
        closeNextMessage(&badAddress);
        dialog->accept();

        dialog->findChild<QLineEdit *>(QStringLiteral("address"))->setText(url(QStringLiteral("/index.html")));
        setLinkPatterns(dialog, QStringLiteral("(*index* or *page2*"));
        closeNextMessage(&badFilter);
        dialog->accept();
        pageAfterFilter = dialog->findChild<QTabWidget *>()->currentIndex();

        setLinkPatterns(dialog, QStringLiteral("*index*"));
        dialog->findChild<QLineEdit *>(QStringLiteral("depth"))->setText(QStringLiteral("150"));
        closeNextMessage(&badDepth);
        dialog->accept();
        stillOpen = dialog->isVisible();
        dialog->reject();
    });
    list().newTask();
    QCOMPARE(badAddress.text, QStringLiteral("Invalid url."));
    QCOMPARE(badFilter.text, QStringLiteral("Filter error: No closing bracket"));
    QCOMPARE(badFilter.details, QStringLiteral("At character 13: *page2*"));
    QCOMPARE(badFilter.detailsFormat, Qt::PlainText);  // the user's text, never markup
    QCOMPARE(pageAfterFilter, 1);                      // the Filters page
    QCOMPARE(badDepth.text, QStringLiteral("The depth must be a whole number from 0 to 99."));
    QVERIFY(stillOpen);
    QVERIFY(form().project().folderTasks(form().project().selectedFolder()).empty());
    QCOMPARE(list().model().rowCount(), 0);
}

void TaskListTest::rowsShowTheirValuesAndSortByEveryKey() {
    TaskListModel model;
    std::vector<TaskRow> rows(3);
    const QString longName(250, u'n');
    const std::tuple<uint32_t, QString, uint32_t, double, uint32_t> values[] = {
        {1, QStringLiteral("beta"), 1234567, 3.0, TaskRow::Ok},
        {2, QStringLiteral("Alpha"), 999, 1.0, TaskRow::Failed},
        {3, longName, 0, 2.0, TaskRow::Stopped}};
    for (size_t k = 0; k < rows.size(); ++k) {
        std::tie(rows[k].id, rows[k].name, rows[k].size, rows[k].done, rows[k].state) = values[k];
        rows[k].folder = 7;
    }
    model.reset(7, rows);
    QCOMPARE(model.index(0, TaskListModel::Size).data().toString(), QStringLiteral("1,234,567"));
    QCOMPARE(model.index(1, TaskListModel::Size).data().toString(), QStringLiteral("999"));
    QCOMPARE(model.index(2, TaskListModel::Name).data().toString(), longName.left(200) + QStringLiteral("..."));
    const auto order = [&model] {
        QList<uint32_t> ids;
        for (int k = 0; k < model.rowCount(); ++k) ids << model.row(k).id;
        return ids;
    };
    model.sortBy(TaskListModel::Name);
    QCOMPARE(order(), (QList<uint32_t>{2, 1, 3}));  // without regard to case
    model.sortBy(TaskListModel::Name);
    QCOMPARE(order(), (QList<uint32_t>{3, 1, 2}));  // the same key again reverses
    model.sortBy(TaskListModel::Created);
    QCOMPARE(order(), (QList<uint32_t>{2, 3, 1}));  // by completion time
    model.sortBy(TaskListModel::StateKey);
    QCOMPARE(order(), (QList<uint32_t>{3, 1, 2}));
    // Notifications: a task of another folder is not shown; a change reloads the row; a removal drops it.
    TaskRow other = rows[0];
    other.id = 9;
    other.folder = 8;
    model.add(other);
    QCOMPARE(model.rowCount(), 3);
    TaskRow changed = rows[1];
    changed.name = QStringLiteral("Gamma");
    model.change(changed);
    QCOMPARE(model.index(model.indexOf(2), 0).data().toString(), QStringLiteral("Gamma"));
    model.remove(1);
    QCOMPARE(order(), (QList<uint32_t>{3, 2}));
    QCOMPARE(model.indexOf(2), 1);
}

// A running task changes with every file: its row takes each change at once,
// the views hear of them together; a change of state they hear of at once.
void TaskListTest::changesOfARunningTaskAreShownTogether() {
    TaskListModel model;
    TaskRow task;
    task.id = 4;
    task.folder = 1;
    task.state = TaskRow::Downloading;
    model.reset(1, {task});
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    for (uint32_t file = 1; file <= 500; ++file) {
        task.retrieved = file;
        model.change(task);
    }
    QCOMPARE(model.row(0).retrieved, 500u);
    QCOMPARE(changed.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 1, 1000);
    QTest::qWait(2 * TaskListModel::kAnnounceInterval);
    QCOMPARE(changed.count(), 1);

    task.state = TaskRow::Stopped;
    model.change(task);
    QCOMPARE(changed.count(), 2);
    QTest::qWait(2 * TaskListModel::kAnnounceInterval);
    QCOMPARE(changed.count(), 2);
}

void TaskListTest::theFilterEditorKeepsOneEntryPerKindOfLink() {
    FilterEditor editor;
    const QByteArray text =
        composeFilter({{filter_masks::kLinks, 10, 2000, QStringLiteral("*index* or *page*")},
                       {filter_masks::kImages | filter_masks::kOnlyFrom, 0, 0, QStringLiteral("not *")}});
    editor.setFilter(text);
    QVERIFY(editor.patternMode()->isChecked());
    QCOMPARE(editor.patterns()->toPlainText(), QStringLiteral("*index* or *page*"));
    QCOMPARE(editor.findChild<QLineEdit *>(QStringLiteral("size"))->text(), QStringLiteral("10-2000"));
    QCOMPARE(*editor.filter(), text);  // read back unchanged

    // Images are not retrieved; embedded objects only from the host, which the address suggests.
    const auto mode = [&editor](const QString &caption) {
        for (QRadioButton *button : editor.findChildren<QRadioButton *>())
            if (button->text() == caption) return button;
        return static_cast<QRadioButton *>(nullptr);
    };
    editor.selectCategory(1);
    QVERIFY(mode(QStringLiteral("Do not retrieve"))->isChecked());
    editor.addSuggestions({QStringLiteral("http://*example.org*")});
    editor.selectCategory(2);
    mode(QStringLiteral("Retrieve only from:"))->setChecked(true);
    editor.selectCategory(0);
    QVERIFY(mode(QStringLiteral("Do not retrieve"))->isEnabled() ==
            false);  // links are always retrieved from somewhere
    const std::vector<FilterEntry> entries = parseFilter(*editor.filter());
    QCOMPARE(entries.size(), size_t{3});
    QCOMPARE(entries[2].mask, filter_masks::kEmbedded | filter_masks::kOnlyFrom);
    QCOMPARE(entries[2].expression, QStringLiteral("http://*example.org*"));

    // A pattern that does not parse keeps its kind shown and the text unread; emptied, the entry goes.
    editor.patterns()->setPlainText(QStringLiteral("*a* and"));
    Shown error;
    closeNextMessage(&error);
    editor.selectCategory(1);
    QCOMPARE(error.text, QStringLiteral("Filter error: Missing operand"));
    QCOMPARE(editor.patterns()->toPlainText(), QStringLiteral("*a* and"));
    editor.patterns()->clear();
    editor.findChild<QLineEdit *>(QStringLiteral("size"))->clear();
    QCOMPARE(parseFilter(*editor.filter()).size(), size_t{2});
}

void TaskListTest::theAddressBarGetsAndChangesTasks() {
    auto *address = form().findChild<QLineEdit *>(QStringLiteral("address"));
    auto *depth = form().findChild<QSpinBox *>(QStringLiteral("depth"));
    auto *get = form().findChild<QAction *>(QStringLiteral("acGet"));
    QCOMPARE(address->text(), QStringLiteral("http://"));
    QCOMPARE(depth->value(), 0);
    QVERIFY(!get->isEnabled());  // "http://" is no address
    address->setText(QStringLiteral("mailto:nobody"));
    QVERIFY(!get->isEnabled());

    // Depth 0 asks nothing; the bar is cleared for the next address.
    address->setText(url(QStringLiteral("/page2.html")));
    QCOMPARE(get->text(), QStringLiteral("Get"));
    form().options().showOnlinePrompt = false;  // the user said so before: no offer to go online
    get->trigger();
    QCOMPARE(list().model().rowCount(), 1);
    QCOMPARE(address->text(), QStringLiteral("http://"));
    const uint32_t task = list().model().row(0).id;
    QVERIFY(list().model().row(0).filter.isEmpty());

    // The same address again asks first; No creates nothing.
    address->setText(url(QStringLiteral("/page2.html")));
    QString asked;
    answerMessageBox(QMessageBox::No, &asked);
    get->trigger();
    QCOMPARE(asked, QStringLiteral("Task already exists. Create a new copy of task ?"));
    QCOMPARE(list().model().rowCount(), 1);

    // The selected task shows in the bar; another depth turns "Get" into "Change",
    // which asks where links may lead and writes the depth with that filter.
    QVERIFY(list().selectTask(task));
    QCOMPARE(address->text(), url(QStringLiteral("/page2.html")));
    QCOMPARE(get->text(), QStringLiteral("Get"));
    depth->setValue(2);
    QCOMPARE(get->text(), QStringLiteral("Change"));
    QCOMPARE(get->toolTip(), QStringLiteral("Change Task Levels"));
    whenOpen<TaskFilterOptionsDialog>([](TaskFilterOptionsDialog *dialog) { dialog->accept(); });
    get->trigger();
    const std::optional<TaskRow> changed = form().project().task(task);
    QCOMPARE(changed->depth, 2u);
    QCOMPARE(parseFilter(changed->filter).at(0).expression,
             QStringLiteral("http://*127.0.0.1:%1/*").arg(QUrl(url({})).port()));
    QCOMPARE(get->text(), QStringLiteral("Get"));
    QCOMPARE(list().model().rowCount(), 1);
}

void TaskListTest::tasksAreRenamedImportedAndEditedTogether() {
    // An import file of records: the last record lacks its empty line, form data carries over.
    const QString file = fixture_.workPath(QStringLiteral("tasks.txt"));
    writeFile(file.toStdString(), "url=" + url(QStringLiteral("/index.html")).toStdString() +
                                      "\r\nLEVELS=1\r\nFILTER=*index*\r\n\r\nPOST=a=1\r\nURL=" +
                                      url(QStringLiteral("/page2.html")).toStdString() +
                                      "\r\n\r\nURL=" + url(QStringLiteral("/evil.html")).toStdString() + "\r\n");
    QVERIFY(list().importFile(file));
    QCOMPARE(list().model().rowCount(), 2);
    const TaskRow first = list().model().row(0), second = list().model().row(1);
    QCOMPARE(first.depth, 1u);
    QCOMPARE(parseFilter(first.filter).at(0).mask, 0x1FFFFu);
    QCOMPARE(second.formData, QStringLiteral("a=1"));
    QVERIFY(!list().importFile(fixture_.workPath(QStringLiteral("missing.txt"))));
    const std::vector<ImportedTask> lines = readTaskImport("http://a.example/\nhttp://b.example/\n");
    QCOMPARE(lines.size(), size_t{2});

    // Two names share a part: the longest, the one at the end tried before shorter ones.
    QCOMPARE(commonNamePart(QStringLiteral("Notes 2001 (copy)"), QStringLiteral("Notes 2002 (copy)")),
             QStringLiteral(" (copy)"));
    QVERIFY(form().project().updateTask([&] {
        TaskRow task = *form().project().task(first.id);
        task.name = QStringLiteral("Notes 2001 (copy)");
        return task;
    }()));
    QVERIFY(form().project().updateTask([&] {
        TaskRow task = *form().project().task(second.id);
        task.name = QStringLiteral("Notes 2002 (copy)");
        return task;
    }()));
    QTRY_COMPARE_WITH_TIMEOUT(list().model().row(1).name, QStringLiteral("Notes 2002 (copy)"), 5000);
    list().view().selectAll();
    QString proposed;
    whenOpen<QInputDialog>([&proposed](QInputDialog *dialog) {
        proposed = dialog->textValue();
        dialog->accept();
    });
    list().rename();
    QCOMPARE(proposed, QStringLiteral(" (copy)"));
    QCOMPARE(form().project().task(first.id)->name, QStringLiteral("Notes 2001"));
    QCOMPARE(form().project().task(second.id)->name, QStringLiteral("Notes 2002"));
    // One name edited in place is written.
    QVERIFY(list().model().setData(list().model().index(0, TaskListModel::Name), QStringLiteral("Home"), Qt::EditRole));
    QCOMPARE(form().project().task(first.id)->name, QStringLiteral("Home"));

    // Properties of several tasks: the current one's filter, depth and age go to all.
    QVERIFY(list().selectTask(second.id));
    list().view().selectAll();
    QVERIFY(list().currentTask());
    const uint32_t current = list().currentTask()->id, other = current == first.id ? second.id : first.id;
    QString caption;
    whenOpen<NewTaskDialog>([&caption](NewTaskDialog *dialog) {
        caption = dialog->windowTitle();
        dialog->findChild<QLineEdit *>(QStringLiteral("depth"))->setText(QStringLiteral("3"));
        setLinkPatterns(dialog, QStringLiteral("*page*"));
        dialog->accept();
    });
    trigger(QStringLiteral("acProperties"));
    QCOMPARE(caption, QStringLiteral("Multiple Selection"));
    QCOMPARE(form().project().task(other)->depth, 3u);
    QCOMPARE(form().project().task(other)->filter, form().project().task(current)->filter);
    QCOMPARE(parseFilter(form().project().task(other)->filter).at(0).expression, QStringLiteral("*page*"));

    // The other view styles show the same rows and the same selection.
    trigger(QStringLiteral("acViewsIcon"));
    auto *icons = qobject_cast<QListView *>(&list().shownView());
    QVERIFY(icons);
    QCOMPARE(icons->viewMode(), QListView::IconMode);
    QCOMPARE(icons->selectionModel()->selectedRows().size(), 2);
    trigger(QStringLiteral("acViewsList"));
    QCOMPARE(icons->viewMode(), QListView::ListMode);
    trigger(QStringLiteral("acViewsReport"));
    QVERIFY(qobject_cast<QTreeView *>(&list().shownView()));
    QCOMPARE(list().selectedTasks().size(), size_t{2});
}

SITELARK_GUI_TEST_MAIN(TaskListTest)
#include "TaskListTest.moc"
