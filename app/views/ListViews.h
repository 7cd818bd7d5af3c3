#pragma once

#include <QStackedWidget>

class QAbstractItemModel;
class QAbstractItemView;
class QAction;
class QActionGroup;
class QListView;
class QMenu;
class QTreeView;

// The rows of a list model in one of four styles: large icons, small icons,
// a list of names, or details (the columns). Details is a tree view without
// branches; the other styles are one list view, over the same rows and the
// same selection. Both views select whole rows, several at a time, and show
// the commands given to them as their context menu.
class ListViews : public QStackedWidget {
    Q_OBJECT

public:
    enum Style { LargeIcons, SmallIcons, NameList, Details };

    ListViews(QAbstractItemModel *model, QWidget *parent);

    QTreeView &details() const { return *details_; }
    QListView &icons() const { return *icons_; }
    void setStyle(Style style);
    // The view that shows the rows now.
    QAbstractItemView &shown() const;
    // The row that has the focus when it is selected; -1 otherwise.
    int currentSelectedRow() const;
    // Selects the row alone, makes it current and scrolls it into view.
    void selectRow(int row);
    // Puts the command into both views' context menus.
    void addCommand(QAction *command);
    // The "Views" menu of the four styles, Details checked; its entries are
    // named acViewsIcon, acViewsSmallIcon, acViewsList and acViewsReport, and
    // follow the style however it is set. One per view.
    QMenu *stylesMenu(QWidget *owner);

private:
    QTreeView *details_;
    QListView *icons_;
    QActionGroup *styleChoices_ = nullptr;  // the styles menu's entries, by style
};
