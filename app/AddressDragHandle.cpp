#include "AddressDragHandle.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStyle>

#include "AddressDrag.h"

AddressDragHandle::AddressDragHandle(std::function<QString()> address, QWidget *parent)
    : QLabel(parent), address_(std::move(address)) {
    setPixmap(style()->standardIcon(QStyle::SP_FileLinkIcon).pixmap(16, 16));
    setToolTip(tr("Drag the page's address"));
    setCursor(Qt::OpenHandCursor);
}

void AddressDragHandle::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton) pressedAt_ = event->position().toPoint();
}

void AddressDragHandle::mouseMoveEvent(QMouseEvent *event) {
    if (!(event->buttons() & Qt::LeftButton) ||
        (event->position().toPoint() - pressedAt_).manhattanLength() < QApplication::startDragDistance())
        return;
    if (const QString address = address_(); !address.isEmpty()) dragAddress(this, address);
}
