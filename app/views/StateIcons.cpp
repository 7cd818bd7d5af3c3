#include "StateIcons.h"

#include <array>

#include <QPainter>
#include <QPixmap>

#include "TaskRow.h"

namespace {

QColor stateColour(uint32_t state) {
    switch (state) {
        case TaskRow::Queued:
            return QColor(0x2f, 0x6f, 0xd8);  // blue: waiting for the crawl
        case TaskRow::Downloading:
            return QColor(0x20, 0xa0, 0xe0);  // light blue
        case TaskRow::Stopped:
            return QColor(0xd8, 0xa0, 0x20);  // amber
        case TaskRow::Ok:
            return QColor(0x2e, 0xa0, 0x43);  // green
        case TaskRow::Failed:
            return QColor(0xd0, 0x30, 0x30);  // red
        case TaskRow::Done:
            return QColor(0x90, 0x50, 0xc0);  // violet: "Look up the hierarchy" in the link tree
        default:
            return QColor(0x90, 0x90, 0x90);  // grey
    }
}

QIcon paintedIcon(uint32_t state) {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(stateColour(state).darker(140));
    painter.setBrush(stateColour(state));
    painter.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    return QIcon(picture);
}

}  // namespace

QIcon stateIcon(uint32_t state) {
    static const std::array<QIcon, 8> icons = [] {
        std::array<QIcon, 8> painted;
        for (uint32_t k = 0; k < painted.size(); ++k) painted[k] = paintedIcon(k);
        return painted;
    }();
    return state < icons.size() ? icons[state] : icons[0];
}
