#include "ItemCommands.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

#include "ItemActions.h"
#include "ItemPropertiesDialog.h"
#include "KestProject.h"
#include "exports/ItemExport.h"
#include "views/LegendWindow.h"

ItemCommands::ItemCommands(KestProject &project, QWidget &view, Selection selection, std::function<uint32_t()> viewTask)
    : QObject(&view), project_(project), view_(view), selection_(std::move(selection)), viewTask_(std::move(viewTask)) {
    connect(add(openCommands_, QStringLiteral("acOpen"), QStringLiteral("Open"), QKeySequence(Qt::Key_Return)),
            &QAction::triggered, this, [this] { open(false); });
    connect(add(openCommands_, QStringLiteral("acOpenInNewWindow"), QStringLiteral("Open in New Window"), {}),
            &QAction::triggered, this, [this] { open(true); });
    connect(add(fileCommands_, QStringLiteral("acExport"), QStringLiteral("Save As ..."), {}), &QAction::triggered,
            this, [this] { saveItemsAs(&view_, project_, selection_.all()); });
    connect(add(fileCommands_, QStringLiteral("acRefresh"), QStringLiteral("Refresh"), {}), &QAction::triggered, this,
            [this] { item_actions::refresh(&view_, selection_.all()); });
    connect(add(fileCommands_, QStringLiteral("acCreateTask"), QStringLiteral("Create Task"), {}), &QAction::triggered,
            this, [this] { item_actions::createTasks(&view_, project_, selection_.all(), project_.selectedFolder()); });
    connect(add(fileCommands_, QStringLiteral("acDelete"), QStringLiteral("Delete"), QKeySequence::Delete),
            &QAction::triggered, this, [this] {
                if (selection_.current()) item_actions::remove(&view_, selection_.all());
            });
    connect(add(fileCommands_, QStringLiteral("acViewSource"), QStringLiteral("View Source"), QKeySequence(Qt::Key_F3)),
            &QAction::triggered, this, &ItemCommands::viewSource);
    fileCommands_ << nullptr;
    connect(add(fileCommands_, QStringLiteral("acProperties"), QStringLiteral("Properties"),
                QKeySequence(Qt::ALT | Qt::Key_Return)),
            &QAction::triggered, this, &ItemCommands::showProperties);
    connect(add(fileCommands_, QStringLiteral("acTestFilter"), QStringLiteral("Test Filter"), {}), &QAction::triggered,
            this, &ItemCommands::testFilter);
    connect(add(fileCommands_, QStringLiteral("acLegend"), QStringLiteral("Legend"), {}), &QAction::triggered, this,
            [this] { showLegend(&view_); });
}

QAction *ItemCommands::add(QList<QAction *> &group, const QString &name, const QString &caption,
                           const QKeySequence &key) {
    auto *action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    view_.addAction(action);
    group << action;
    return action;
}

QAction *ItemCommands::command(const QString &name) const { return findChild<QAction *>(name); }

void ItemCommands::fillMenu(QMenu &menu) const {
    menu.addActions(openCommands_);
    menu.addSeparator();
    for (QAction *command : fileCommands_) {
        if (command)
            menu.addAction(command);
        else
            menu.addSeparator();
    }
}

void ItemCommands::update() {
    const std::optional<ItemRow> current = selection_.current();
    const bool openable = current && current->hasResource();
    for (const char *name : {"acOpen", "acOpenInNewWindow", "acExport", "acRefresh", "acDelete", "acViewSource"})
        command(QString::fromLatin1(name))->setEnabled(openable);
    const bool selected = selection_.count() > 0;
    command(QStringLiteral("acCreateTask"))->setEnabled(selected && project_.selectedFolder() != 0);
    command(QStringLiteral("acProperties"))->setEnabled(selected);
    command(QStringLiteral("acTestFilter"))->setEnabled(current && taskOf(*current) != 0);
}

void ItemCommands::open(bool newWindow) {
    const std::optional<ItemRow> row = selection_.current();
    if (row && row->hasResource())
        emit openRequested(row->address, taskOf(*row), engineDate(row->completed), newWindow, row->formData);
}

void ItemCommands::viewSource() {
    if (const std::optional<ItemRow> row = selection_.current(); row && row->hasResource())
        item_actions::viewSource(&view_, *row);
}

void ItemCommands::showProperties() {
    if (const std::optional<ItemRow> row = selection_.current()) ItemPropertiesDialog::show(&view_, *row);
}

void ItemCommands::testFilter() {
    const std::optional<ItemRow> row = selection_.current();
    if (!row || taskOf(*row) == 0) return;
    emit infoPageRequested(QUrl(QStringLiteral("qzinfo://itemtestfilter/%1/%2").arg(taskOf(*row)).arg(row->item)));
}
