#pragma once

#include <QWidget>

class SpeedSamples;

// The speed of the last 100 seconds as a filled line over a grid, with the
// average as a level line across it and "cps" as the axis title; the scale
// follows the highest point.
class SpeedChart : public QWidget {
    Q_OBJECT

public:
    SpeedChart(const SpeedSamples &samples, QWidget *parent);

    QSize sizeHint() const override { return {320, 120}; }
    QSize minimumSizeHint() const override { return {160, 60}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const SpeedSamples &samples_;
};
