#include "SpeedChart.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>

#include "views/SpeedSamples.h"
#include "views/TaskRow.h"

namespace {

constexpr int kGridLines = 4;

}  // namespace

SpeedChart::SpeedChart(const SpeedSamples &samples, QWidget *parent) : QWidget(parent), samples_(samples) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void SpeedChart::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const auto &points = samples_.points();
    const int64_t top = std::max<int64_t>({1, *std::max_element(points.begin(), points.end()), samples_.average()});
    const QFontMetrics metrics(font());
    const int labelWidth = metrics.horizontalAdvance(groupedNumber(uint64_t(top))) + 6;
    const QRectF plot = QRectF(rect()).adjusted(labelWidth, metrics.height() * 2, -4, -metrics.height() / 2 - 2);

    painter.setPen(QColor(0, 110, 0));
    for (int line = 0; line <= kGridLines; ++line) {
        const double y = plot.top() + plot.height() * line / kGridLines;
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    painter.setPen(QColor(0, 200, 0));
    painter.drawText(QPointF(2, metrics.ascent()), QStringLiteral("cps"));
    painter.drawText(QRectF(0, plot.top() - metrics.height() / 2.0, labelWidth - 4, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, groupedNumber(uint64_t(top)));
    painter.drawText(QRectF(0, plot.bottom() - metrics.height() / 2.0, labelWidth - 4, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0"));

    const auto yOf = [&](int64_t value) { return plot.bottom() - plot.height() * double(value) / double(top); };
    const double step = plot.width() / double(points.size() - 1);
    QPainterPath line;
    for (size_t k = 0; k < points.size(); ++k) {
        const QPointF point(plot.left() + step * double(k), yOf(std::max<int64_t>(0, points[k])));
        if (k == 0)
            line.moveTo(point);
        else
            line.lineTo(point);
    }
    QPainterPath area = line;
    area.lineTo(plot.bottomRight());
    area.lineTo(plot.bottomLeft());
    area.closeSubpath();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(area, QColor(0, 255, 0, 60));
    painter.setPen(QPen(QColor(0, 255, 0), 1.5));
    painter.drawPath(line);

    const double average = yOf(samples_.average());
    painter.setPen(QPen(QColor(255, 220, 0), 1, Qt::DashLine));
    painter.drawLine(QPointF(plot.left(), average), QPointF(plot.right(), average));
}
