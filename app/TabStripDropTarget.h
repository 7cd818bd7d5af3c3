#pragma once

#include <QObject>

class KestProject;
class QTabBar;

// The main window's tab strip as a drop target: addresses dropped on it
// become tasks in the selected folder while a project is open, and a drag that
// lingers over a tab (more than 20 moves) switches to that page.
class TabStripDropTarget : public QObject {
public:
    TabStripDropTarget(QTabBar *tabs, KestProject &project);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTabBar *tabs_;
    KestProject &project_;
    int hoveredTab_ = -1;
    int movesOverTab_ = 0;
};
