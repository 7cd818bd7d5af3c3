#include "AddressDrag.h"

#include <QDrag>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

void dragAddress(QWidget *source, const QString &address) {
    auto *data = new QMimeData;
    data->setUrls({QUrl(address)});
    data->setText(address);
    auto *drag = new QDrag(source);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction | Qt::LinkAction);
}
