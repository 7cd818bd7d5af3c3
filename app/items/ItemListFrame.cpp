#include "ItemListFrame.h"

#include <algorithm>
#include <tuple>

#include <QAction>
#include <QHeaderView>
#include <QListView>
#include <QMenu>
#include <QTreeView>
#include <QVBoxLayout>

#include "ItemCommands.h"
#include "ItemListModel.h"
#include "ItemTransferData.h"
#include "KestProject.h"
#include "views/ListViews.h"

ItemListFrame::ItemListFrame(KestProject &project, QWidget *parent)
    : QWidget(parent), project_(project), model_(new ItemListModel(this)), styles_(new ListViews(model_, this)) {
    view_ = &styles_->details();
    icons_ = &styles_->icons();
    view_->setObjectName(QStringLiteral("itemList"));
    const std::pair<int, int> widths[] = {{ItemListModel::Title, 200},      {ItemListModel::Url, 260},
                                          {ItemListModel::Level, 45},       {ItemListModel::Size, 75},
                                          {ItemListModel::ContentType, 90}, {ItemListModel::Modified, 130},
                                          {ItemListModel::Retrieved, 130}};
    for (const auto &[column, width] : widths) view_->setColumnWidth(column, width);
    icons_->setLayoutMode(QListView::Batched);
    // Dragged out, the selected files go to the program's drop targets as
    // addresses and to other programs as exported files.
    model_->setDragSource([this] { return new ItemTransferData(project_, this, selectedRows()); });
    for (QAbstractItemView *view :
         {static_cast<QAbstractItemView *>(view_), static_cast<QAbstractItemView *>(icons_)}) {
        view->setDragDropMode(QAbstractItemView::DragOnly);
        view->setDefaultDropAction(Qt::CopyAction);
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(styles_);
    buildCommands();
    buildMenus();

    connect(view_->header(), &QHeaderView::sectionClicked, model_, &ItemListModel::sortBy);
    connect(model_, &ItemListModel::sorted, this, [this] {
        const bool column = model_->sortKey() < ItemListModel::ColumnCount;
        view_->header()->setSortIndicatorShown(column);
        if (column) view_->header()->setSortIndicator(model_->sortKey(), model_->sortOrder());
        updateCommands();
    });
    const auto changed = [this] {
        updateCommands();
        emit selectionChanged();
    };
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this, changed);
    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this, changed);
    connect(model_, &QAbstractItemModel::rowsInserted, this, changed);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(model_, &QAbstractItemModel::modelReset, this, changed);
    connect(model_, &QAbstractItemModel::dataChanged, this, &ItemListFrame::updateCommands);
    connect(view_, &QAbstractItemView::doubleClicked, this, &ItemListFrame::doubleClicked);
    connect(icons_, &QAbstractItemView::doubleClicked, this, &ItemListFrame::doubleClicked);
    updateCommands();
}

void ItemListFrame::addCommand(QAction *command) {
    if (command) styles_->addCommand(command);
    commands_ << command;
}

void ItemListFrame::buildCommands() {
    files_ = new ItemCommands(
        project_, *this,
        {[this] { return selectedRows(); }, [this] { return selectedCount(); }, [this] { return currentRow(); }},
        [this] { return model_->task(); });
    connect(files_, &ItemCommands::openRequested, this, &ItemListFrame::openRequested);
    connect(files_, &ItemCommands::infoPageRequested, this, &ItemListFrame::infoPageRequested);
    for (QAction *command : files_->openCommands()) addCommand(command);
    for (const auto &[name, caption, rows] : {std::tuple{"acMoveUp", "Up", -1}, std::tuple{"acMoveDown", "Down", 1}}) {
        auto *move = new QAction(QString::fromLatin1(caption), this);
        move->setObjectName(QString::fromLatin1(name));
        connect(move, &QAction::triggered, this, [this, by = rows] { moveBy(by); });
        addCommand(move);
    }
    addCommand(nullptr);
    for (QAction *command : files_->fileCommands()) addCommand(command);
    // Ctrl+A selects every row in every style.
    auto *selectAll = new QAction(this);
    selectAll->setShortcut(QKeySequence::SelectAll);
    selectAll->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(selectAll, &QAction::triggered, view_, &QAbstractItemView::selectAll);
    addAction(selectAll);
}

void ItemListFrame::buildMenus() {
    viewsMenu_ = styles_->stylesMenu(this);
    sortMenu_ = new QMenu(QStringLiteral("Sort by"), this);
    for (int key = 0; key < ItemListModel::KeyCount; ++key) {
        QAction *sort =
            sortMenu_->addAction(ItemListModel::keyCaption(key), model_, [this, key] { model_->sortBy(key); });
        sort->setCheckable(true);
    }
    styles_->addCommand(viewsMenu_->menuAction());
    styles_->addCommand(sortMenu_->menuAction());
}

QAction *ItemListFrame::command(const QString &name) const { return findChild<QAction *>(name); }

QAbstractItemView &ItemListFrame::shownView() const { return styles_->shown(); }

std::vector<ItemRow> ItemListFrame::selectedRows() const {
    std::vector<int> indexes;
    for (const QItemSelectionRange &range : view_->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row) indexes.push_back(row);
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    std::vector<ItemRow> rows;
    rows.reserve(indexes.size());
    for (int index : indexes) rows.push_back(model_->row(index));
    return rows;
}

int ItemListFrame::selectedCount() const {
    int count = 0;
    for (const QItemSelectionRange &range : view_->selectionModel()->selection()) count += range.height();
    return count;
}

std::optional<ItemRow> ItemListFrame::currentRow() const {
    const int row = styles_->currentSelectedRow();
    return row < 0 ? std::nullopt : std::optional<ItemRow>(model_->row(row));
}

bool ItemListFrame::selectResource(uint32_t resource) {
    const int row = model_->indexOf(resource);
    if (row >= 0) styles_->selectRow(row);
    return row >= 0;
}

void ItemListFrame::selectFirst() {
    if (model_->size() > 0) selectResource(model_->row(0).resource);
}

void ItemListFrame::updateCommands() {
    files_->update();
    const bool current = currentRow().has_value();
    const int row = view_->selectionModel()->currentIndex().row();
    command(QStringLiteral("acMoveUp"))->setEnabled(current && row > 0);
    command(QStringLiteral("acMoveDown"))->setEnabled(current && row + 1 < model_->size());
    const QList<QAction *> sorts = sortMenu_->actions();
    for (int key = 0; key < sorts.size(); ++key) {
        sorts[key]->setEnabled(model_->size() > 1);
        sorts[key]->setChecked(key == model_->sortKey());
    }
}

void ItemListFrame::open(bool newWindow) { files_->open(newWindow); }

void ItemListFrame::doubleClicked() {
    const std::optional<ItemRow> row = currentRow();
    if (row && diverter_ && diverter_(*row)) return;
    open(false);
}

void ItemListFrame::moveBy(int rows) {
    const int current = styles_->currentSelectedRow();
    const int row = current < 0 ? -1 : current + rows;
    if (row < 0 || row >= model_->size()) return;
    styles_->selectRow(row);
    open(false);
}
