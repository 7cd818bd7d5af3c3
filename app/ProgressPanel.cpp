#include "ProgressPanel.h"

#include <algorithm>

#include <QPainter>

namespace {

constexpr int kStep = 8;  // pixels between two lines of the bar

}  // namespace

ProgressPanel::ProgressPanel(QWidget *parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

void ProgressPanel::setPercent(int percent) {
    percent = std::clamp(percent, 0, 100);
    if (percent == percent_) return;
    percent_ = percent;
    update();
}

QSize ProgressPanel::sizeHint() const { return {100, 16}; }

void ProgressPanel::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 3));
    const int filled = width() * percent_ / 100;
    for (int x = kStep / 2; x < filled; x += kStep) painter.drawLine(x, 2, x, height() - 3);
}
