#include "AddressDragHandle.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyle>
#include <QUrl>

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
    const QString address = address_();
    if (address.isEmpty()) return;
    auto *data = new QMimeData;
    data->setUrls({QUrl(address)});
    data->setText(address);
    auto *drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction | Qt::LinkAction);
}
