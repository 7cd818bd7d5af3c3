#include "TabAddressDrag.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>

#include "AddressDrag.h"
#include "BrowserForm.h"

TabAddressDrag::TabAddressDrag(QTabWidget *pages) : QObject(pages), pages_(pages) {
    pages->tabBar()->installEventFilter(this);
}

bool TabAddressDrag::eventFilter(QObject *, QEvent *event) {
    if (event->type() == QEvent::MouseButtonPress) {
        auto *press = static_cast<QMouseEvent *>(event);
        pressedAt_ = press->position().toPoint();
        pressedTab_ = press->button() == Qt::LeftButton ? pages_->tabBar()->tabAt(pressedAt_) : -1;
        return false;
    }
    if (event->type() != QEvent::MouseMove || pressedTab_ < 0) return false;
    auto *move = static_cast<QMouseEvent *>(event);
    if (!(move->buttons() & Qt::LeftButton) ||
        (move->position().toPoint() - pressedAt_).manhattanLength() < QApplication::startDragDistance())
        return false;
    const auto *browser = qobject_cast<BrowserForm *>(pages_->widget(pressedTab_));
    pressedTab_ = -1;
    if (!browser || browser->pageAddress().isEmpty()) return false;
    dragAddress(pages_->tabBar(), browser->pageAddress());
    return true;
}
