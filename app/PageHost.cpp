#include "PageHost.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTabBar>

namespace {

constexpr int kTabCaptionLength = 40;

const char *const kMenuCaptions[PageHost::kKinds] = {"Opened Browsers", "Task Files", "Search Results",
                                                     "Web Structures"};

}  // namespace

PageHost::PageHost(QTabWidget &pages) : QObject(&pages), pages_(pages) {
    buildCommands();
    pages_.tabBar()->installEventFilter(this);
    connect(&pages_, &QTabWidget::currentChanged, this, &PageHost::updateCommands);
    connect(this, &PageHost::windowsChanged, this, &PageHost::rebuildMenus);
    updateCommands();
    rebuildMenus();
}

void PageHost::buildCommands() {
    for (int kind = 0; kind < kKinds; ++kind) {
        menus_[kind] = new QMenu(QString::fromLatin1(kMenuCaptions[kind]), &pages_);
        menus_[kind]->menuAction()->setObjectName(QStringLiteral("windowMenu%1").arg(kind));
    }
    const auto command = [this](const QString &caption, const QString &name, auto slot) {
        auto *action = new QAction(caption, this);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    closeActive_ = command(QStringLiteral("Close Active Page"), QStringLiteral("acCloseActivePage"), [this] {
        if (pages_.currentIndex() > 0) pages_.currentWidget()->close();
    });
    closeActive_->setToolTip(QStringLiteral("Close active page"));
    closeActive_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    undockActive_ = command(QStringLiteral("Undock Active Page"), QStringLiteral("acUnDockActivePage"), [this] {
        if (pages_.currentIndex() > 0) setDocked(pages_.currentWidget(), false);
    });
    closeClicked_ = command(QStringLiteral("Close Page"), QStringLiteral("acClosePage"), [this] {
        if (QWidget *window = clickedWindow()) window->close();
    });
    undockClicked_ = command(QStringLiteral("Undock Page"), QStringLiteral("acUndockPage"), [this] {
        if (QWidget *window = clickedWindow()) setDocked(window, false);
    });

    auto *positions = new QActionGroup(this);
    const std::pair<const char *, QTabWidget::TabPosition> sides[] = {{"Left", QTabWidget::West},
                                                                      {"Right", QTabWidget::East},
                                                                      {"Top", QTabWidget::North},
                                                                      {"Bottom", QTabWidget::South}};
    for (const auto &[caption, position] : sides) {
        QAction *side = command(QString::fromLatin1(caption), QStringLiteral("acTabPos") + QString::fromLatin1(caption),
                                [this, position] { setTabPosition(position); });
        side->setCheckable(true);
        side->setData(static_cast<int>(position));
        positions->addAction(side);
        tabPositions_ << side;
    }
    setTabPosition(pages_.tabPosition());
}

void PageHost::addWindow(QWidget *window, Kind kind, bool docked) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    entries_.append({window, kind});
    window->installEventFilter(this);
    connect(window, &QObject::destroyed, this, [this, window] { forget(window); });
    if (kind != Kind::Browser) {
        auto *dock = new QAction(QStringLiteral("Dock"), window);
        dock->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
        dock->setShortcutContext(Qt::WindowShortcut);
        connect(dock, &QAction::triggered, this, [this, window] {
            if (!PageHost::docked(window)) {
                setDocked(window, true);
                activate(window);
            }
        });
        window->addAction(dock);
    }
    setDocked(window, docked);
    emit windowsChanged();
}

void PageHost::setDocked(QWidget *window, bool docked) {
    if (docked == PageHost::docked(window) && (!docked || pages_.indexOf(window) >= 0)) return;
    if (docked) {
        pages_.addTab(window, QString());
    } else {
        const QSize size = window->size().expandedTo(QSize(900, 700));
        if (const int tab = pages_.indexOf(window); tab >= 0) pages_.removeTab(tab);
        window->setParent(nullptr, Qt::Window);
        window->resize(size);
        window->show();
    }
    showCaption(window);
    updateCommands();
}

void PageHost::activate(QWidget *window) {
    if (docked(window)) {
        pages_.setCurrentWidget(window);
        pages_.window()->raise();
    } else {
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
        window->raise();
        window->activateWindow();
    }
}

QVector<QWidget *> PageHost::windows(Kind kind) const {
    QVector<QWidget *> found;
    for (const Entry &entry : entries_)
        if (entry.kind == kind && entry.window) found << entry.window.data();
    return found;
}

void PageHost::setTabPosition(QTabWidget::TabPosition position) {
    pages_.setTabPosition(position);
    for (QAction *side : std::as_const(tabPositions_)) side->setChecked(side->data().toInt() == position);
}

bool PageHost::eventFilter(QObject *watched, QEvent *event) {
    if (watched == pages_.tabBar() && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() == Qt::RightButton) {
            const int tab = pages_.tabBar()->tabAt(press->position().toPoint());
            rightClicked_ = tab > 0 ? pages_.widget(tab) : nullptr;
            updateCommands();
        }
    } else if (event->type() == QEvent::WindowTitleChange) {
        showCaption(static_cast<QWidget *>(watched));
        emit windowsChanged();
    }
    return QObject::eventFilter(watched, event);
}

void PageHost::forget(QWidget *window) {
    entries_.removeIf([window](const Entry &entry) { return !entry.window || entry.window == window; });
    updateCommands();
    emit windowsChanged();
}

void PageHost::showCaption(QWidget *window) {
    if (const int tab = pages_.indexOf(window); tab >= 0)
        pages_.setTabText(tab, window->windowTitle().left(kTabCaptionLength));
}

void PageHost::updateCommands() {
    const bool onPage = pages_.currentIndex() > 0;
    closeActive_->setEnabled(onPage);
    undockActive_->setEnabled(onPage);
    closeClicked_->setEnabled(clickedWindow() != nullptr);
    undockClicked_->setEnabled(clickedWindow() != nullptr);
}

void PageHost::rebuildMenus() {
    for (int kind = 0; kind < kKinds; ++kind) {
        QVector<QPair<QWidget *, QString>> shown;
        for (QWidget *window : windows(static_cast<Kind>(kind))) shown.append({window, window->windowTitle()});
        QMenu *menu = menus_[kind];
        menu->menuAction()->setVisible(!shown.isEmpty());
        if (shown == listed_[kind]) continue;
        listed_[kind] = shown;
        menu->clear();
        for (const auto &[window, caption] : std::as_const(shown)) {
            QAction *item = menu->addAction(caption);
            connect(item, &QAction::triggered, this, [this, target = QPointer<QWidget>(window)] {
                if (target) activate(target);
            });
        }
    }
}

QWidget *PageHost::clickedWindow() const {
    return rightClicked_ && pages_.indexOf(rightClicked_) > 0 ? rightClicked_.data() : nullptr;
}
