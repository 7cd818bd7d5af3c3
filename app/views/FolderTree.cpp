#include "FolderTree.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDragMoveEvent>
#include <QHeaderView>
#include <QMessageBox>
#include <QMimeData>

#include "EngineLibrary.h"
#include "FolderPropertiesWindow.h"
#include "KestProject.h"
#include "RecordBuffer.h"
#include "TaskCreation.h"
#include "TransferReceiver.h"
#include "TransferText.h"

namespace {

constexpr int kFolderRole = Qt::UserRole;
// Drag moves over a collapsed node before it opens.
constexpr int kMovesBeforeExpanding = 10;
const QString kPlaceholder = QStringLiteral("*");

uint32_t folderOf(const QTreeWidgetItem *item) { return item ? item->data(0, kFolderRole).toUInt() : 0; }

eng::client::RecordBuffer<EngFolderRecord> subfolders(uint32_t folder) {
    return eng::client::receiveRecords<EngFolderRecord>(engine().Eng_FreeMem, engine().Eng_GetSubFolders, folder);
}

}  // namespace

FolderTree::FolderTree(KestProject &project, QWidget *parent) : QTreeWidget(parent), project_(project) {
    setObjectName(QStringLiteral("folderTree"));
    header()->hide();
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    buildCommands();
    connect(this, &QTreeWidget::itemExpanded, this, &FolderTree::loadChildren);
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem *item) {
        if (item == topLevelItem(0)) item->setExpanded(true);  // the root stays open
    });
    connect(this, &QTreeWidget::itemChanged, this, &FolderTree::renamed);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *now) {
        if (filling_ || !project_.active()) return;
        project_.selectFolder(folderOf(now));
        updateCommands();
    });
    connect(&project_, &KestProject::afterOpen, this, &FolderTree::bind);
    connect(&project_, &KestProject::afterClose, this, &FolderTree::bind);
    connect(&project_, &KestProject::folderMoved, this, &FolderTree::followMove);
    connect(&project_, &KestProject::folderCreated, this, &FolderTree::followCreate);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &FolderTree::updateCommands);
    updateCommands();
}

QAction *FolderTree::addCommand(const QString &name, const QString &caption, const QKeySequence &key) {
    auto *action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetShortcut);
    addAction(action);
    commands_ << action;
    return action;
}

void FolderTree::buildCommands() {
    connect(addCommand(QStringLiteral("acNewFolder"), QStringLiteral("New Folder"), QKeySequence(Qt::Key_Insert)),
            &QAction::triggered, this, &FolderTree::newFolder);
    connect(addCommand(QStringLiteral("acFolderRename"), QStringLiteral("Rename"), QKeySequence(Qt::Key_F2)),
            &QAction::triggered, this, [this] {
                if (QTreeWidgetItem *item = currentItem()) editItem(item);
            });
    connect(addCommand(QStringLiteral("acFolderDelete"), QStringLiteral("Delete"), QKeySequence::Delete),
            &QAction::triggered, this, &FolderTree::deleteFolder);
    connect(
        addCommand(QStringLiteral("acFolderProperties"), QStringLiteral("Properties"), QKeySequence(Qt::Key_Return)),
        &QAction::triggered, this, &FolderTree::showProperties);
    connect(addCommand(QStringLiteral("acExpandAll"), QStringLiteral("Expand All")), &QAction::triggered, this,
            &FolderTree::expandAll);
    connect(addCommand(QStringLiteral("acFolderCut"), QStringLiteral("Cut")), &QAction::triggered, this,
            &FolderTree::cut);
    connect(addCommand(QStringLiteral("acFolderPaste"), QStringLiteral("Paste")), &QAction::triggered, this,
            &FolderTree::paste);
}

QAction *FolderTree::command(const QString &name) const { return findChild<QAction *>(name); }

void FolderTree::updateCommands() {
    const uint32_t folder = selectedFolder();
    const QMimeData *clipboard = QApplication::clipboard()->mimeData();
    command(QStringLiteral("acNewFolder"))->setEnabled(folder != 0);
    command(QStringLiteral("acFolderRename"))->setEnabled(folder != 0);
    command(QStringLiteral("acFolderDelete"))->setEnabled(folder != 0 && folder != kRootFolder);
    command(QStringLiteral("acExpandAll"))->setEnabled(folder != 0);
    command(QStringLiteral("acFolderProperties"))->setEnabled(folder != 0);
    command(QStringLiteral("acFolderCut"))->setEnabled(folder != 0 && folder != kRootFolder);
    command(QStringLiteral("acFolderPaste"))->setEnabled(folder != 0 && clipboard && acceptableTransfer(*clipboard));
}

void FolderTree::bind() {
    filling_ = true;
    clear();
    filling_ = false;
    if (!project_.active()) return updateCommands();
    const auto root =
        eng::client::receiveRecords<EngFolderRecord>(engine().Eng_FreeMem, engine().Eng_GetFolder, kRootFolder);
    const auto record = root.first();
    if (!record) return updateCommands();
    QTreeWidgetItem *item = addNode(nullptr, record->folder, QString::fromUtf8(record->name), record->subfolders);
    item->setExpanded(true);
    setCurrentItem(item);
}

QTreeWidgetItem *FolderTree::addNode(QTreeWidgetItem *parent, uint32_t folder, const QString &name,
                                     uint32_t subfolders) {
    auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    QSignalBlocker quiet(this);  // a new node is no rename
    item->setText(0, name);
    item->setData(0, kFolderRole, folder);
    item->setIcon(0, style()->standardIcon(folder == kRootFolder ? QStyle::SP_DriveHDIcon : QStyle::SP_DirIcon));
    item->setFlags(item->flags() | Qt::ItemIsEditable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled);
    if (subfolders > 0) new QTreeWidgetItem(item, {kPlaceholder});
    return item;
}

void FolderTree::loadChildren(QTreeWidgetItem *item) {
    if (item->childCount() == 0 || folderOf(item->child(0)) != 0) return;
    delete item->takeChild(0);
    for (const EngFolderRecord &record : subfolders(folderOf(item)))
        addNode(item, record.folder, QString::fromUtf8(record.name), record.subfolders);
}

QTreeWidgetItem *FolderTree::itemOf(uint32_t folder) const {
    for (QTreeWidgetItemIterator it(const_cast<FolderTree *>(this)); *it; ++it)
        if (folderOf(*it) == folder) return *it;
    return nullptr;
}

uint32_t FolderTree::selectedFolder() const { return project_.active() ? folderOf(currentItem()) : 0; }

void FolderTree::selectFolder(uint32_t folder) {
    // Down from the root, each node above the folder opened so that its children are there.
    const std::vector<uint32_t> path = project_.folderAndParents(folder);
    for (auto it = path.rbegin(); it != path.rend(); ++it)
        if (QTreeWidgetItem *item = itemOf(*it); item && *it != folder) item->setExpanded(true);
    if (QTreeWidgetItem *item = itemOf(folder)) setCurrentItem(item);
}

void FolderTree::newFolder() {
    QTreeWidgetItem *parent = currentItem();
    if (!parent || !project_.active()) return;
    parent->setExpanded(true);
    const QString name = QStringLiteral("New Folder ") + QString::number(parent->childCount() + 1);
    const int folder = engine().Eng_CreateFolder(folderOf(parent), name.toUtf8().constData());
    if (folder <= 0) return;  // the engine refused: no node for a folder that is not there
    QTreeWidgetItem *item = addNode(parent, static_cast<uint32_t>(folder), name, 0);
    setCurrentItem(item);
    editItem(item);
}

void FolderTree::renamed(QTreeWidgetItem *item) {
    const uint32_t folder = folderOf(item);
    if (folder && project_.active()) renameFolder(folder, item->text(0));
}

bool FolderTree::renameFolder(uint32_t folder, const QString &name) {
    const QString before = folderPath(folder).section(u'\\', -1);
    QTreeWidgetItem *item = itemOf(folder);
    const bool renamed = name == before || engine().Eng_RenameFolder(folder, name.toUtf8().constData()) != 0;
    if (!renamed) QMessageBox::critical(this, QStringLiteral("Sitelark"), QStringLiteral("Can't rename the folder"));
    if (item) {
        QSignalBlocker quiet(this);
        item->setText(0, renamed ? name : before);
    }
    return renamed;
}

FolderPropertiesWindow *FolderTree::showProperties() {
    const uint32_t folder = selectedFolder();
    if (folder == 0) return nullptr;
    auto *window = new FolderPropertiesWindow(project_, folder, this);
    connect(window, &FolderPropertiesWindow::renameRequested, this, &FolderTree::renameFolder);
    window->show();
    return window;
}

bool FolderTree::deleteRecursively(uint32_t folder) {
    std::vector<uint32_t> children;
    for (const EngFolderRecord &record : subfolders(folder)) children.push_back(record.folder);
    for (uint32_t child : children) deleteRecursively(child);
    for (const TaskRow &task : project_.folderTasks(folder)) engine().Eng_DeleteTask(task.id);
    return engine().Eng_DeleteFolder(folder) != 0;
}

void FolderTree::deleteFolder() {
    QTreeWidgetItem *item = currentItem();
    const uint32_t folder = folderOf(item);
    if (folder == 0 || folder == kRootFolder) return;
    QMessageBox question(QMessageBox::Question, QStringLiteral("Sitelark"),
                         QStringLiteral("Delete folder %1 and all it's subitems.").arg(item->text(0)),
                         QMessageBox::Ok | QMessageBox::Cancel, this);
    question.setTextFormat(Qt::PlainText);  // the name is shown as it is, never as markup
    if (question.exec() != QMessageBox::Ok) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool deleted = deleteRecursively(folder);
    QApplication::restoreOverrideCursor();
    if (deleted) delete item;  // the selection moves on, and the task list with it
}

void FolderTree::expandAll() {
    QTreeWidgetItem *top = currentItem();
    if (!top) return;
    std::vector<QTreeWidgetItem *> pending{top};
    while (!pending.empty()) {
        QTreeWidgetItem *item = pending.back();
        pending.pop_back();
        item->setExpanded(true);
        for (int k = 0; k < item->childCount(); ++k) pending.push_back(item->child(k));
    }
}

void FolderTree::cut() {
    const uint32_t folder = selectedFolder();
    if (folder == 0 || folder == kRootFolder) return;
    QApplication::clipboard()->setMimeData(mimeData({currentItem()}));
}

void FolderTree::paste() {
    const QMimeData *data = QApplication::clipboard()->mimeData();
    if (data && selectedFolder()) receiveTransfer(this, project_, selectedFolder(), *data);
}

void FolderTree::followMove(uint32_t folder, uint32_t parent) {
    QTreeWidgetItem *item = itemOf(folder);
    QTreeWidgetItem *target = itemOf(parent);
    if (!item || item->parent() == target) return;
    QTreeWidgetItem *selected = currentItem();
    filling_ = true;
    item->parent()->removeChild(item);
    const bool targetLoaded = target && (target->childCount() == 0 || folderOf(target->child(0)) != 0);
    if (targetLoaded)
        target->addChild(item);
    else if (target && target->childCount() == 0)
        new QTreeWidgetItem(target, {kPlaceholder});
    if (!targetLoaded) delete item;
    filling_ = false;
    if (QTreeWidgetItem *now = currentItem(); now != selected || !now) setCurrentItem(now ? now : topLevelItem(0));
}

void FolderTree::followCreate(uint32_t folder, uint32_t parent, const QString &name) {
    QTreeWidgetItem *target = itemOf(parent);
    if (!target || itemOf(folder)) return;
    if (target->childCount() == 0 || folderOf(target->child(0)) != 0) addNode(target, folder, name, 0);
}

QStringList FolderTree::mimeTypes() const {
    return {transfer::kFormat, QStringLiteral("text/uri-list"), QStringLiteral("text/plain")};
}

QMimeData *FolderTree::mimeData(const QList<QTreeWidgetItem *> &items) const {
    if (items.isEmpty() || folderOf(items.first()) == kRootFolder) return nullptr;
    auto *data = new QMimeData;
    data->setData(transfer::kFormat,
                  transfer::compose({transfer::kCutFolder,
                                     project_.fileName(),
                                     {QStringLiteral("FOLDERID=") + QString::number(folderOf(items.first()))}}));
    return data;
}

Qt::DropActions FolderTree::supportedDropActions() const { return Qt::CopyAction | Qt::MoveAction; }

bool FolderTree::acceptsDrop(const QTreeWidgetItem *target, const QMimeData &data) const {
    if (!project_.active() || !target || folderOf(target) == 0 || !acceptableTransfer(data)) return false;
    const std::optional<transfer::Text> text = transfer::parse(data.data(transfer::kFormat));
    if (!text || text->kind != transfer::kCutFolder) return true;
    // A folder lands neither in itself, below itself, nor where it is already.
    const uint32_t moved = text->value(QStringLiteral("FOLDERID")).toUInt();
    const QTreeWidgetItem *item = itemOf(moved);
    return !project_.folderWithin(folderOf(target), moved) && !(item && item->parent() == target);
}

void FolderTree::dragEnterEvent(QDragEnterEvent *event) {
    hovered_ = nullptr;
    hoverMoves_ = 0;
    if (project_.active() && acceptableTransfer(*event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void FolderTree::dragMoveEvent(QDragMoveEvent *event) {
    QTreeWidgetItem *target = itemAt(event->position().toPoint());
    if (target != hovered_) {
        hovered_ = target;
        hoverMoves_ = 0;
    } else if (target && ++hoverMoves_ > kMovesBeforeExpanding) {
        target->setExpanded(true);
        hoverMoves_ = 0;
    }
    if (acceptsDrop(target, *event->mimeData())) {
        setDropIndicatorShown(true);
        QTreeWidget::dragMoveEvent(event);
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void FolderTree::dropEvent(QDropEvent *event) {
    QTreeWidgetItem *target = itemAt(event->position().toPoint());
    hovered_ = nullptr;
    if (!dropMimeData(target, 0, event->mimeData(), event->dropAction())) return event->ignore();
    // The receiver has changed the project; nothing is to be moved by the view itself.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

bool FolderTree::dropMimeData(QTreeWidgetItem *parent, int, const QMimeData *data, Qt::DropAction) {
    if (!data || !acceptsDrop(parent, *data)) return false;
    receiveTransfer(this, project_, folderOf(parent), *data);
    return true;
}
