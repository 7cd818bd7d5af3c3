#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QUrl>

#include "ItemRow.h"

class KestProject;
class QAction;
class QKeySequence;
class QMenu;
class QWidget;

// The commands every view of stored files has, on the files it has
// selected: open (also in a new window), save as, refresh, create tasks,
// delete, view the source, properties, test the filter, the legend. Their
// shortcuts act while the view has the focus; each command is enabled as
// the view's selection allows (update() after every change of it).
class ItemCommands : public QObject {
    Q_OBJECT

public:
    // What the view has selected: all of it in view order, how many, and the
    // file that has the focus.
    struct Selection {
        std::function<std::vector<ItemRow>()> all;
        std::function<int()> count;
        std::function<std::optional<ItemRow>()> current;
    };
    // The commands act on the view's selection; files of no task of their
    // own are opened in and tested against the view's task (0: none).
    ItemCommands(KestProject &project, QWidget &view, Selection selection, std::function<uint32_t()> viewTask);

    // The commands by their names (acOpen, acDelete, ...).
    QAction *command(const QString &name) const;
    // The commands of the open group (Open, Open in New Window), then the
    // rest in menu order; null entries stand for separators.
    const QList<QAction *> &openCommands() const { return openCommands_; }
    const QList<QAction *> &fileCommands() const { return fileCommands_; }
    // The commands as a menu, with their separators.
    void fillMenu(QMenu &menu) const;

    void update();
    void open(bool newWindow);

signals:
    void openRequested(const QString &address, uint32_t task, const QDateTime &stamp, bool newWindow,
                       const QString &formData);
    // One of the program's own pages, to be shown in a new window.
    void infoPageRequested(const QUrl &page);

private:
    QAction *add(QList<QAction *> &group, const QString &name, const QString &caption, const QKeySequence &key);
    void viewSource();
    void showProperties();
    void testFilter();
    // The task a file is opened in and tested against: its own, else the view's.
    uint32_t taskOf(const ItemRow &row) const { return row.task ? row.task : viewTask_(); }

    KestProject &project_;
    QWidget &view_;
    Selection selection_;
    std::function<uint32_t()> viewTask_;
    QList<QAction *> openCommands_;
    QList<QAction *> fileCommands_;
};
