#pragma once

#include <array>

#include <QObject>
#include <QPointer>
#include <QTabWidget>
#include <QVector>

class QAction;
class QMenu;
class QWidget;

// The main window's pages: the first page (the task list) stays; every other
// page is a window (a browser, a task's files, a search result, a website
// structure) that is docked as a page or stands free, and goes away when it
// is closed. The host shows each window's title as its tab's text, moves the
// tabs to any side, closes and undocks the active page or the page whose tab
// was last clicked with the right button, and keeps one submenu per kind
// listing the open windows by caption.
class PageHost : public QObject {
    Q_OBJECT

public:
    enum class Kind { Browser, TaskFiles, SearchResult, Structure };
    static constexpr int kKinds = 4;

    explicit PageHost(QTabWidget &pages);

    // Takes a window of the kind: docked as a page, or free. The window is
    // deleted when it closes. A free window other than a browser (which has
    // its own command) docks again with Ctrl+Shift+D.
    void addWindow(QWidget *window, Kind kind, bool docked);
    void setDocked(QWidget *window, bool docked);
    static bool docked(const QWidget *window) { return !window->isWindow(); }
    // Shows the window: its page becomes the current one, or the free window comes to the front.
    void activate(QWidget *window);
    // The open windows of the kind, in the order they were added.
    QVector<QWidget *> windows(Kind kind) const;

    // The submenu listing the open windows of the kind; hidden while there are none.
    QMenu *windowMenu(Kind kind) const { return menus_[static_cast<int>(kind)]; }
    // Commands on the active page (disabled on the first page) and on the
    // page whose tab was last clicked with the right button.
    QAction *closeActivePage() const { return closeActive_; }
    QAction *undockActivePage() const { return undockActive_; }
    QAction *closePage() const { return closeClicked_; }
    QAction *undockPage() const { return undockClicked_; }
    // "Left", "Right", "Top", "Bottom", one checked.
    QList<QAction *> tabPositionCommands() const { return tabPositions_; }
    void setTabPosition(QTabWidget::TabPosition position);

signals:
    // The set of windows or a caption changed.
    void windowsChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Entry {
        QPointer<QWidget> window;
        Kind kind;
    };
    void buildCommands();
    void forget(QWidget *window);
    void showCaption(QWidget *window);
    void updateCommands();
    // Rebuilds a window submenu only when the windows of its kind or their captions changed.
    void rebuildMenus();
    QWidget *clickedWindow() const;

    QTabWidget &pages_;
    QVector<Entry> entries_;
    std::array<QMenu *, kKinds> menus_{};
    // The windows and captions each submenu was built from.
    std::array<QVector<QPair<QWidget *, QString>>, kKinds> listed_;
    QAction *closeActive_;
    QAction *undockActive_;
    QAction *closeClicked_;
    QAction *undockClicked_;
    QList<QAction *> tabPositions_;
    QPointer<QWidget> rightClicked_;
};
