#pragma once

#include <QObject>
#include <QPoint>

class QTabWidget;

// Dragging the tab of a browser page in the main window drags the address
// of the page it shows.
class TabAddressDrag : public QObject {
public:
    explicit TabAddressDrag(QTabWidget *pages);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTabWidget *pages_;
    QPoint pressedAt_;
    int pressedTab_ = -1;
};
