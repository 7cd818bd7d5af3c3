#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QDateTime>
#include <QUrl>
#include <QWidget>

#include "ItemRow.h"

class ItemCommands;
class ItemListModel;
class KestProject;
class ListViews;
class QAbstractItemView;
class QAction;
class QListView;
class QMenu;
class QTreeView;

// A list of stored files over an ItemListModel, in one of four styles, with
// the commands on the files: open (also in a new window), refresh, create
// tasks, delete, view the source, properties, test the filter, the legend,
// Up and Down, and the sort order.
class ItemListFrame : public QWidget {
    Q_OBJECT

public:
    ItemListFrame(KestProject &project, QWidget *parent);

    ItemListModel &model() const { return *model_; }
    QTreeView &view() const { return *view_; }
    // The commands by their names (acOpen, acDelete, ...), for menus and tests.
    QAction *command(const QString &name) const;
    // The commands in menu order; null entries stand for separators.
    const QList<QAction *> &commands() const { return commands_; }
    QMenu *sortMenu() const { return sortMenu_; }
    QMenu *viewsMenu() const { return viewsMenu_; }
    // The list's styles: Details, or one of the icon styles.
    ListViews &styles() const { return *styles_; }
    // The view that shows the rows now.
    QAbstractItemView &shownView() const;

    // The selected rows, in list order.
    std::vector<ItemRow> selectedRows() const;
    int selectedCount() const;
    // The row that has the focus, when it is selected.
    std::optional<ItemRow> currentRow() const;
    // Selects the resource's row alone and scrolls to it; false when the list has none.
    bool selectResource(uint32_t resource);
    // Selects the first row alone, when there is one.
    void selectFirst();

    // Takes a double-clicked row before it is opened: true when it took it.
    using Diverter = std::function<bool(const ItemRow &row)>;
    void setDiverter(Diverter diverter) { diverter_ = std::move(diverter); }

    void open(bool newWindow);
    // Selects the row above or below the current one alone and opens it.
    void moveBy(int rows);

signals:
    // The selection or the current row changed.
    void selectionChanged();
    void openRequested(const QString &address, uint32_t task, const QDateTime &stamp, bool newWindow,
                       const QString &formData);
    // One of the program's own pages, to be shown in a new window.
    void infoPageRequested(const QUrl &page);

private:
    void buildCommands();
    void addCommand(QAction *command);
    void buildMenus();
    void updateCommands();
    void doubleClicked();

    KestProject &project_;
    ItemListModel *model_;
    ListViews *styles_;
    QTreeView *view_;   // the details style
    QListView *icons_;  // the other styles, over the same rows and selection
    ItemCommands *files_;
    QList<QAction *> commands_;
    QMenu *viewsMenu_ = nullptr;
    QMenu *sortMenu_ = nullptr;
    Diverter diverter_;
};
