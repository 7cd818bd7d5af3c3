#include "ItemListFrame.h"

#include <algorithm>

#include <QAction>
#include <QHeaderView>
#include <QListView>
#include <QMenu>
#include <QTreeView>
#include <QVBoxLayout>

#include "ItemActions.h"
#include "ItemListModel.h"
#include "ItemPropertiesDialog.h"
#include "KestProject.h"
#include "exports/ItemExport.h"
#include "views/LegendWindow.h"
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

QAction *ItemListFrame::addCommand(const QString &name, const QString &caption, const QKeySequence &key) {
    auto *action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
    styles_->addCommand(action);
    commands_ << action;
    return action;
}

void ItemListFrame::buildCommands() {
    connect(addCommand(QStringLiteral("acOpen"), QStringLiteral("Open"), QKeySequence(Qt::Key_Return)),
            &QAction::triggered, this, [this] { open(false); });
    connect(addCommand(QStringLiteral("acOpenInNewWindow"), QStringLiteral("Open in New Window")), &QAction::triggered,
            this, [this] { open(true); });
    connect(addCommand(QStringLiteral("acMoveUp"), QStringLiteral("Up")), &QAction::triggered, this,
            [this] { moveBy(-1); });
    connect(addCommand(QStringLiteral("acMoveDown"), QStringLiteral("Down")), &QAction::triggered, this,
            [this] { moveBy(1); });
    commands_ << nullptr;
    connect(addCommand(QStringLiteral("acExport"), QStringLiteral("Save As ...")), &QAction::triggered, this,
            [this] { saveItemsAs(this, project_, selectedRows()); });
    connect(addCommand(QStringLiteral("acRefresh"), QStringLiteral("Refresh")), &QAction::triggered, this,
            &ItemListFrame::refreshSelected);
    connect(addCommand(QStringLiteral("acCreateTask"), QStringLiteral("Create Task")), &QAction::triggered, this,
            &ItemListFrame::createTasks);
    connect(addCommand(QStringLiteral("acDelete"), QStringLiteral("Delete"), QKeySequence::Delete), &QAction::triggered,
            this, &ItemListFrame::deleteSelected);
    connect(addCommand(QStringLiteral("acViewSource"), QStringLiteral("View Source"), QKeySequence(Qt::Key_F3)),
            &QAction::triggered, this, &ItemListFrame::viewSource);
    commands_ << nullptr;
    connect(addCommand(QStringLiteral("acProperties"), QStringLiteral("Properties"),
                       QKeySequence(Qt::ALT | Qt::Key_Return)),
            &QAction::triggered, this, &ItemListFrame::showProperties);
    connect(addCommand(QStringLiteral("acTestFilter"), QStringLiteral("Test Filter")), &QAction::triggered, this,
            &ItemListFrame::testFilter);
    connect(addCommand(QStringLiteral("acLegend"), QStringLiteral("Legend")), &QAction::triggered, this,
            [this] { showLegend(this); });
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
    const std::optional<ItemRow> current = currentRow();
    const bool openable = current && current->hasResource();
    const bool selected = selectedCount() > 0;
    for (const char *name : {"acOpen", "acOpenInNewWindow", "acExport", "acRefresh", "acDelete", "acViewSource"})
        command(QString::fromLatin1(name))->setEnabled(openable);
    const int row = view_->selectionModel()->currentIndex().row();
    command(QStringLiteral("acMoveUp"))->setEnabled(current && row > 0);
    command(QStringLiteral("acMoveDown"))->setEnabled(current && row + 1 < model_->size());
    command(QStringLiteral("acCreateTask"))->setEnabled(selected && project_.selectedFolder() != 0);
    command(QStringLiteral("acProperties"))->setEnabled(selected);
    command(QStringLiteral("acTestFilter"))->setEnabled(current && testedTask(*current) != 0);
    const QList<QAction *> sorts = sortMenu_->actions();
    for (int key = 0; key < sorts.size(); ++key) {
        sorts[key]->setEnabled(model_->size() > 1);
        sorts[key]->setChecked(key == model_->sortKey());
    }
}

void ItemListFrame::open(bool newWindow) {
    const std::optional<ItemRow> row = currentRow();
    if (row && row->hasResource())
        emit openRequested(row->address, row->task, engineDate(row->completed), newWindow, row->formData);
}

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

void ItemListFrame::refreshSelected() { item_actions::refresh(this, selectedRows()); }

void ItemListFrame::createTasks() {
    item_actions::createTasks(this, project_, selectedRows(), project_.selectedFolder());
}

void ItemListFrame::deleteSelected() {
    if (currentRow()) item_actions::remove(this, selectedRows());
}

void ItemListFrame::viewSource() {
    if (const std::optional<ItemRow> row = currentRow(); row && row->hasResource())
        item_actions::viewSource(this, *row);
}

void ItemListFrame::showProperties() {
    if (const std::optional<ItemRow> row = currentRow()) ItemPropertiesDialog::show(this, *row);
}

uint32_t ItemListFrame::testedTask(const ItemRow &row) const { return row.task ? row.task : model_->task(); }

void ItemListFrame::testFilter() {
    const std::optional<ItemRow> row = currentRow();
    if (!row || testedTask(*row) == 0) return;
    emit infoPageRequested(QUrl(QStringLiteral("qzinfo://itemtestfilter/%1/%2").arg(testedTask(*row)).arg(row->item)));
}
