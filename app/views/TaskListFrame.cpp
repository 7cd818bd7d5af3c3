#include "TaskListFrame.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QTreeView>
#include <QVBoxLayout>

#include "CommonNamePart.h"
#include "EngineLibrary.h"
#include "KestProject.h"
#include "LegendWindow.h"
#include "ListViews.h"
#include "NotificationWindow.h"
#include "TaskImport.h"
#include "TaskListModel.h"
#include "TaskTransferData.h"
#include "TransferReceiver.h"
#include "TransferText.h"
#include "dialogs/NewTaskDialog.h"
#include "dialogs/RefreshTaskDialog.h"

namespace {

struct SortCommand {
    const char *caption;
    const char *hint;
};

const SortCommand kSortCommands[] = {{"Name", "Sort list by name"},
                                     {"Url", "Sort list by Url"},
                                     {"Queued", "Sort list by Queued"},
                                     {"Retrieved", "Sort list by Retrieved"},
                                     {"Errors", "Sort list by Errors"},
                                     {"Size", "Sort list by Size"},
                                     {"Depth", "Sort list by Depth"},
                                     {"Created", "Sort list by Created"},
                                     {"Error Description", "Sort list by Notes"},
                                     {"State", "Sort list by State"},
                                     {"File type", "Sort list by File Type"}};

}  // namespace

TaskListFrame::TaskListFrame(KestProject &project, QWidget *parent)
    : QWidget(parent), project_(project), model_(new TaskListModel(this)), styles_(new ListViews(model_, this)) {
    view_ = &styles_->details();
    icons_ = &styles_->icons();
    view_->setObjectName(QStringLiteral("taskList"));
    const std::pair<int, int> widths[] = {{TaskListModel::Name, 170},  {TaskListModel::Url, 230},
                                          {TaskListModel::Queued, 60}, {TaskListModel::Retrieved, 70},
                                          {TaskListModel::Errors, 50}, {TaskListModel::Size, 80},
                                          {TaskListModel::Depth, 50},  {TaskListModel::Created, 140}};
    for (const auto &[column, width] : widths) view_->setColumnWidth(column, width);
    for (QAbstractItemView *view :
         {static_cast<QAbstractItemView *>(view_), static_cast<QAbstractItemView *>(icons_)}) {
        view->setDragDropMode(QAbstractItemView::DragDrop);
        view->setDefaultDropAction(Qt::MoveAction);
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(styles_);

    model_->setTransfers(
        [this](const std::vector<uint32_t> &tasks) {
            return new TaskTransferData(project_, transfer::kTaskMove, tasks);  // the view owns the drag's data
        },
        [this](const QMimeData &data) { return receiveTransfer(this, project_, model_->folder(), data) > 0; });
    model_->setRenamer([this](uint32_t task, const QString &name) { return renameTask(task, name); });
    buildCommands();

    connect(view_->header(), &QHeaderView::sectionClicked, model_, &TaskListModel::sortBy);
    connect(model_, &TaskListModel::sorted, this, [this] {
        const bool column = model_->sortKey() < TaskListModel::ColumnCount;
        view_->header()->setSortIndicatorShown(column);
        if (column) view_->header()->setSortIndicator(model_->sortKey(), model_->sortOrder());
        updateCommands();
    });
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TaskListFrame::selectionChanged);
    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this, &TaskListFrame::selectionChanged);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &TaskListFrame::selectionChanged);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &TaskListFrame::selectionChanged);
    connect(model_, &QAbstractItemModel::dataChanged, this, &TaskListFrame::updateCommands);
    connect(view_, &QAbstractItemView::doubleClicked, this, [this] { open(false); });
    connect(icons_, &QAbstractItemView::doubleClicked, this, [this] { open(false); });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &TaskListFrame::followClipboard);

    connect(&project_, &KestProject::folderSelected, this, &TaskListFrame::fill);
    connect(&project_, &KestProject::folderFilled, this, [this](uint32_t folder) {
        if (folder == model_->folder()) fill(folder);
    });
    connect(&project_, &KestProject::beforeClose, this, [this] {
        prepareClipboard();
        fill(0);
    });
    connect(&project_, &KestProject::taskAdded, model_, &TaskListModel::add);
    connect(&project_, &KestProject::taskChanged, model_, &TaskListModel::change);
    connect(&project_, &KestProject::taskRemoved, model_, [this](uint32_t task) { model_->remove(task); });
    followClipboard();
}

void TaskListFrame::followClipboard() {
    const QMimeData *clipboard = QApplication::clipboard()->mimeData();
    pasteable_ = clipboard && acceptableTransfer(*clipboard);
    updateCommands();
}

QAction *TaskListFrame::addCommand(const QString &name, const QString &caption, const QString &hint,
                                   const QKeySequence &key) {
    auto *action = new QAction(caption, this);
    action->setObjectName(name);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
    styles_->addCommand(action);
    commands_ << action;
    return action;
}

void TaskListFrame::buildCommands() {
    connect(addCommand(QStringLiteral("acOpen"), QStringLiteral("Open"), QStringLiteral("Browse the Task"),
                       QKeySequence(Qt::Key_Return)),
            &QAction::triggered, this, [this] { open(false); });
    connect(addCommand(QStringLiteral("acOpenInNewWindow"), QStringLiteral("Open in New Window"),
                       QStringLiteral("Browse the Task in New Window")),
            &QAction::triggered, this, [this] { open(true); });
    connect(addCommand(QStringLiteral("acShowItems"), QStringLiteral("List"),
                       QStringLiteral("Show Files Retrieved by the Task")),
            &QAction::triggered, this, [this] {
                if (const std::optional<TaskRow> task = currentTask()) emit itemsRequested(*task);
            });
    connect(addCommand(QStringLiteral("acMoveUp"), QStringLiteral("Up"), QStringLiteral("Move Up")),
            &QAction::triggered, this, [this] { moveBy(-1); });
    connect(addCommand(QStringLiteral("acMoveDown"), QStringLiteral("Down"), QStringLiteral("Move Down")),
            &QAction::triggered, this, [this] { moveBy(1); });
    commands_ << nullptr;
    connect(addCommand(QStringLiteral("acNewTask"), QStringLiteral("New Task"), QStringLiteral("Create New Task"),
                       QKeySequence(Qt::Key_Insert)),
            &QAction::triggered, this, &TaskListFrame::newTask);
    connect(addCommand(QStringLiteral("acRun"), QStringLiteral("Run Task"), QStringLiteral("Run the Task")),
            &QAction::triggered, this, &TaskListFrame::runSelected);
    connect(addCommand(QStringLiteral("acStop"), QStringLiteral("Stop Task"), QStringLiteral("Stop the Task")),
            &QAction::triggered, this, &TaskListFrame::stopSelected);
    connect(addCommand(QStringLiteral("acRefresh"), QStringLiteral("Refresh"), QStringLiteral("Refresh the Task")),
            &QAction::triggered, this, &TaskListFrame::refreshSelected);
    commands_ << nullptr;
    connect(addCommand(QStringLiteral("acCut"), QStringLiteral("Cut"), QStringLiteral("Cut to clipboard"),
                       QKeySequence::Cut),
            &QAction::triggered, this, &TaskListFrame::cut);
    connect(addCommand(QStringLiteral("acCopy"), QStringLiteral("Copy"), QStringLiteral("Copy to clipboard"),
                       QKeySequence::Copy),
            &QAction::triggered, this, &TaskListFrame::copy);
    connect(addCommand(QStringLiteral("acPaste"), QStringLiteral("Paste"), QStringLiteral("Paste from clipboard"),
                       QKeySequence::Paste),
            &QAction::triggered, this, &TaskListFrame::paste);
    connect(addCommand(QStringLiteral("acDelete"), QStringLiteral("Delete"), QStringLiteral("Delete the Task"),
                       QKeySequence::Delete),
            &QAction::triggered, this, &TaskListFrame::deleteSelected);
    commands_ << nullptr;
    connect(addCommand(QStringLiteral("acProperties"), QStringLiteral("Properties"),
                       QStringLiteral("Edit Properties of the task"), QKeySequence(Qt::ALT | Qt::Key_Return)),
            &QAction::triggered, this, &TaskListFrame::editProperties);
    connect(addCommand(QStringLiteral("acRename"), QStringLiteral("Rename"), QStringLiteral("Rename the Task"),
                       QKeySequence(Qt::Key_F2)),
            &QAction::triggered, this, &TaskListFrame::rename);
    connect(addCommand(QStringLiteral("acImportTasks"), QStringLiteral("Import Tasks"),
                       QStringLiteral("Import tasks from text file")),
            &QAction::triggered, this, &TaskListFrame::importTasks);
    commands_ << nullptr;
    connect(addCommand(QStringLiteral("acLegend"), QStringLiteral("Legend"), QStringLiteral("Legend")),
            &QAction::triggered, this, [this] { showLegend(this); });
    connect(addCommand(QStringLiteral("acShowWebsiteStructure"), QStringLiteral("Website Structure"),
                       QStringLiteral("View the Structure of the Task (Sitemap)")),
            &QAction::triggered, this, [this] {
                if (const std::optional<TaskRow> task = currentTask()) emit websiteStructureRequested(*task);
            });

    viewsMenu_ = styles_->stylesMenu(this);

    sortMenu_ = new QMenu(QStringLiteral("Sort by"), this);
    for (int key = 0; key < TaskListModel::KeyCount; ++key) {
        QAction *sort = sortMenu_->addAction(QString::fromLatin1(kSortCommands[key].caption), model_,
                                             [this, key] { model_->sortBy(key); });
        sort->setToolTip(QString::fromLatin1(kSortCommands[key].hint));
        sort->setCheckable(true);
    }
}

QAction *TaskListFrame::command(const QString &name) const { return findChild<QAction *>(name); }

void TaskListFrame::setViewStyle(ViewStyle style) { styles_->setStyle(static_cast<ListViews::Style>(style)); }

QAbstractItemView &TaskListFrame::shownView() const { return styles_->shown(); }

void TaskListFrame::fill(uint32_t folder) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    model_->reset(folder, folder ? project_.folderTasks(folder) : std::vector<TaskRow>{});
    view_->header()->setSortIndicatorShown(false);
    QApplication::restoreOverrideCursor();
    selectionChanged();
}

std::vector<uint32_t> TaskListFrame::selectedTasks() const {
    std::vector<uint32_t> tasks;
    QModelIndexList rows = view_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    for (const QModelIndex &row : rows) tasks.push_back(model_->row(row.row()).id);
    return tasks;
}

std::optional<TaskRow> TaskListFrame::currentTask() const {
    const int row = styles_->currentSelectedRow();
    return row < 0 ? std::nullopt : std::optional<TaskRow>(model_->row(row));
}

bool TaskListFrame::selectTask(uint32_t task) {
    const int row = model_->indexOf(task);
    if (row >= 0) styles_->selectRow(row);
    return row >= 0;
}

QString TaskListFrame::statusText() const {
    const int rows = model_->rowCount();
    const std::vector<uint32_t> selected = selectedTasks();
    if (selected.empty()) return QString::number(rows) + QStringLiteral(" task(s)");
    QString text = QStringLiteral("%1 of %2 task(s) selected").arg(selected.size()).arg(rows);
    if (selected.size() == 1) {
        const TaskRow &task = model_->row(model_->indexOf(selected.front()));
        text += QStringLiteral(" (") + viewStateName(task.state);
        if (task.state == TaskRow::Ok || task.state == TaskRow::Failed)
            text += QStringLiteral("; Size=") + groupedNumber(task.size);
        text += QStringLiteral("; ") + task.url + u')';
    }
    return text;
}

void TaskListFrame::selectionChanged() {
    updateCommands();
    emit statusChanged(statusText());
    // Only a new current task is announced: rows coming and going leave the address bar alone.
    const std::optional<TaskRow> current = currentTask();
    const std::optional<uint32_t> id = current ? std::optional<uint32_t>(current->id) : std::nullopt;
    if (id == announcedCurrent_) return;
    announcedCurrent_ = id;
    emit currentChanged(current);
}

void TaskListFrame::updateCommands() {
    const std::optional<TaskRow> current = currentTask();
    const size_t selected = selectedTasks().size();
    const bool several = selected > 1;
    command(QStringLiteral("acOpen"))->setEnabled(selected == 1);
    command(QStringLiteral("acOpenInNewWindow"))->setEnabled(selected == 1);
    command(QStringLiteral("acShowItems"))->setEnabled(selected == 1);
    command(QStringLiteral("acShowWebsiteStructure"))->setEnabled(selected == 1);
    command(QStringLiteral("acNewTask"))->setEnabled(model_->folder() != 0);
    const int row = current ? model_->indexOf(current->id) : -1;
    command(QStringLiteral("acMoveUp"))->setEnabled(row > 0);
    command(QStringLiteral("acMoveDown"))->setEnabled(row >= 0 && row + 1 < model_->rowCount());
    command(QStringLiteral("acRun"))->setEnabled(current && (current->state == TaskRow::Stopped || several));
    command(QStringLiteral("acStop"))->setEnabled(current && (current->state == TaskRow::Queued || several));
    command(QStringLiteral("acRefresh"))
        ->setEnabled(current && (current->state == TaskRow::Queued || current->state == TaskRow::Ok ||
                                 current->state == TaskRow::Failed));
    command(QStringLiteral("acCut"))->setEnabled(current.has_value());
    command(QStringLiteral("acCopy"))->setEnabled(current.has_value());
    command(QStringLiteral("acPaste"))->setEnabled(model_->folder() != 0 && pasteable_);
    command(QStringLiteral("acDelete"))->setEnabled(selected > 0);
    command(QStringLiteral("acProperties"))->setEnabled(current.has_value());
    command(QStringLiteral("acRename"))->setEnabled(selected > 0);
    command(QStringLiteral("acImportTasks"))->setEnabled(model_->folder() != 0);
    const QList<QAction *> sorts = sortMenu_->actions();
    for (int key = 0; key < sorts.size(); ++key) {
        sorts[key]->setEnabled(model_->rowCount() > 1);
        sorts[key]->setChecked(key == model_->sortKey());
    }
}

void TaskListFrame::open(bool newWindow) {
    const std::optional<TaskRow> task = currentTask();
    if (!task) return;
    emit openRequested(task->url, task->id, engineDate(task->done), newWindow, task->formData);
}

void TaskListFrame::moveBy(int rows) {
    const std::optional<TaskRow> current = currentTask();
    const int row = current ? model_->indexOf(current->id) + rows : -1;
    if (row < 0 || row >= model_->rowCount()) return;
    selectTask(model_->row(row).id);
    open(false);
}

void TaskListFrame::newTask() {
    if (model_->folder() == 0) return;
    const int task = NewTaskDialog::create(this, project_, QString(), 0, model_->folder());
    if (task <= 0) return;
    emit taskCreated();
    selectTask(static_cast<uint32_t>(task));
}

void TaskListFrame::forEachSelected(const std::function<void(uint32_t)> &call) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (uint32_t task : selectedTasks()) {
        call(task);
        NotificationWindow::pump();
    }
    QApplication::restoreOverrideCursor();
}

void TaskListFrame::runSelected() {
    forEachSelected(engine().Eng_RunTask);
    view_->clearSelection();
}

void TaskListFrame::stopSelected() {
    forEachSelected(engine().Eng_StopTask);
    view_->clearSelection();
}

void TaskListFrame::refreshSelected() {
    uint32_t errors = 0, connectionErrors = 0;
    for (uint32_t task : selectedTasks()) {
        const TaskRow &row = model_->row(model_->indexOf(task));
        errors += row.errorCount;
        connectionErrors += row.transportErrorCount;
    }
    const int mode = RefreshTaskDialog::ask(this, errors, connectionErrors);
    if (mode == 0) return;
    forEachSelected([mode](uint32_t task) { engine().Eng_RefreshTask(task, mode); });
}

void TaskListFrame::deleteSelected() {
    const std::vector<uint32_t> tasks = selectedTasks();
    if (tasks.empty()) return;
    QMessageBox question(QMessageBox::Question, QStringLiteral("Sitelark"),
                         QStringLiteral("Delete all resources associated with this task(s) ?"),
                         QMessageBox::Ok | QMessageBox::Cancel, this);
    if (question.exec() != QMessageBox::Ok) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (uint32_t task : tasks) project_.deleteTask(task);
    QApplication::restoreOverrideCursor();
}

void TaskListFrame::editProperties() {
    const std::optional<TaskRow> current = currentTask();
    if (!current) return;
    const std::optional<TaskRow> task = project_.task(current->id);
    if (!task) {
        QMessageBox::critical(this, QStringLiteral("Sitelark"), QStringLiteral("Task not exists."));
        return;
    }
    const std::vector<uint32_t> selected = selectedTasks();
    if (selected.size() == 1) {
        NewTaskDialog::edit(this, project_, *task);
        return;
    }
    if (!NewTaskDialog::editSeveral(this, project_, *task)) return;
    std::vector<uint32_t> others;
    for (uint32_t id : selected)
        if (id != task->id) others.push_back(id);
    if (const std::optional<TaskRow> written = project_.task(task->id)) copySettings(*written, others);
}

void TaskListFrame::copySettings(const TaskRow &from, const std::vector<uint32_t> &to) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (uint32_t id : to) {
        std::optional<TaskRow> task = project_.task(id);
        if (!task) continue;
        task->filter = from.filter;
        task->depth = from.depth;
        task->acceptableAge = from.acceptableAge;
        project_.updateTask(*task);
    }
    QApplication::restoreOverrideCursor();
}

bool TaskListFrame::renameTask(uint32_t id, const QString &name) {
    std::optional<TaskRow> task = project_.task(id);
    if (!task) return false;
    task->name = name;
    return project_.updateTask(*task);
}

void TaskListFrame::rename() {
    const std::vector<uint32_t> tasks = selectedTasks();
    if (tasks.size() > 1) return renameSeveral(tasks);
    if (const std::optional<TaskRow> task = currentTask())
        shownView().edit(model_->index(model_->indexOf(task->id), TaskListModel::Name));
}

void TaskListFrame::renameSeveral(const std::vector<uint32_t> &tasks) {
    const QString proposal = commonNamePart(model_->row(model_->indexOf(tasks.front())).name,
                                            model_->row(model_->indexOf(tasks.back())).name);
    if (proposal.isEmpty()) return;
    bool confirmed = false;
    const QString part =
        QInputDialog::getText(this, QStringLiteral("Sitelark"), QStringLiteral("Delete the substring from the names?"),
                              QLineEdit::Normal, proposal, &confirmed);
    if (!confirmed || part.isEmpty()) return;
    for (uint32_t id : tasks) {
        QString name = model_->row(model_->indexOf(id)).name;
        if (const qsizetype at = name.indexOf(part); at >= 0) renameTask(id, name.remove(at, part.size()));
    }
}

void TaskListFrame::importTasks() {
    if (model_->folder() == 0) return;
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Import Tasks"), QString(), QString(),
                                                      nullptr, QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty() && !importFile(path))
        QMessageBox::information(this, QStringLiteral("Sitelark"), QStringLiteral("Invalid file name."));
}

bool TaskListFrame::importFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (const ImportedTask &imported : readTaskImport(file.readAll())) {
        TaskRow task;
        task.url = imported.url;
        task.formData = imported.formData;
        task.filter = imported.filter;
        task.depth = static_cast<uint32_t>(std::max(0, imported.depth));
        task.acceptableAge = -1;
        task.folder = model_->folder();
        task.followRedirects = true;
        project_.createTask(std::move(task));  // the results are not reported, as a list may hold anything
    }
    QApplication::restoreOverrideCursor();
    return true;
}

void TaskListFrame::putOnClipboard(const QString &kind) {
    const std::vector<uint32_t> tasks = selectedTasks();
    if (!tasks.empty()) QApplication::clipboard()->setMimeData(new TaskTransferData(project_, kind, tasks));
}

void TaskListFrame::cut() { putOnClipboard(transfer::kTaskMove); }

void TaskListFrame::copy() { putOnClipboard(transfer::kTaskCopy); }

void TaskListFrame::paste() {
    const QMimeData *data = QApplication::clipboard()->mimeData();
    if (data && model_->folder()) receiveTransfer(this, project_, model_->folder(), *data);
}

void TaskListFrame::prepareClipboard() {
    // Tasks of this project on the clipboard are written into archives while they can be.
    if (const auto *tasks = qobject_cast<const TaskTransferData *>(QApplication::clipboard()->mimeData()))
        tasks->prepareArchives();
}
