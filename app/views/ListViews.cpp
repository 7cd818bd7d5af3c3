#include "ListViews.h"

#include <QActionGroup>
#include <QHeaderView>
#include <QListView>
#include <QMenu>
#include <QTreeView>

ListViews::ListViews(QAbstractItemModel *model, QWidget *parent)
    : QStackedWidget(parent), details_(new QTreeView(this)), icons_(new QListView(this)) {
    details_->setModel(model);
    details_->setRootIsDecorated(false);
    details_->setUniformRowHeights(true);
    details_->setAllColumnsShowFocus(true);
    details_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    details_->setSelectionBehavior(QAbstractItemView::SelectRows);
    details_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    details_->setContextMenuPolicy(Qt::ActionsContextMenu);
    details_->header()->setSectionsClickable(true);
    details_->header()->setSortIndicatorShown(false);
    icons_->setModel(model);
    icons_->setSelectionModel(details_->selectionModel());
    icons_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    icons_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    icons_->setMovement(QListView::Static);
    icons_->setContextMenuPolicy(Qt::ActionsContextMenu);
    icons_->setUniformItemSizes(true);
    icons_->setResizeMode(QListView::Adjust);
    addWidget(details_);
    addWidget(icons_);
}

void ListViews::setStyle(Style style) {
    if (styleChoices_) styleChoices_->actions().at(style)->setChecked(true);
    if (style == Details) {
        setCurrentWidget(details_);
        return;
    }
    const bool large = style == LargeIcons;
    icons_->setViewMode(large ? QListView::IconMode : QListView::ListMode);
    icons_->setFlow(style == NameList ? QListView::TopToBottom : QListView::LeftToRight);
    icons_->setWrapping(true);
    icons_->setIconSize(large ? QSize(32, 32) : QSize(16, 16));
    icons_->setGridSize(large ? QSize(120, 64) : QSize());
    setCurrentWidget(icons_);
}

QAbstractItemView &ListViews::shown() const {
    return currentWidget() == details_ ? static_cast<QAbstractItemView &>(*details_) : *icons_;
}

int ListViews::currentSelectedRow() const {
    const QModelIndex current = details_->selectionModel()->currentIndex();
    return current.isValid() && details_->selectionModel()->isRowSelected(current.row()) ? current.row() : -1;
}

void ListViews::selectRow(int row) {
    const QModelIndex index = details_->model()->index(row, 0);
    details_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    shown().scrollTo(index);
}

void ListViews::addCommand(QAction *command) {
    details_->addAction(command);
    icons_->addAction(command);
}

QMenu *ListViews::stylesMenu(QWidget *owner) {
    auto *menu = new QMenu(QStringLiteral("Views"), owner);
    auto *styles = styleChoices_ = new QActionGroup(menu);
    const std::pair<Style, const char *> kinds[] = {
        {LargeIcons, "Large Icons"}, {SmallIcons, "Small Icon"}, {NameList, "List"}, {Details, "Details"}};
    const char *names[] = {"acViewsIcon", "acViewsSmallIcon", "acViewsList", "acViewsReport"};
    for (const auto &[style, caption] : kinds) {
        QAction *choice = menu->addAction(QString::fromLatin1(caption), this, [this, style] { setStyle(style); });
        choice->setObjectName(QString::fromLatin1(names[style]));
        choice->setToolTip(choice->text());
        choice->setCheckable(true);
        choice->setChecked(style == Details);
        styles->addAction(choice);
    }
    return menu;
}
