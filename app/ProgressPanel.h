#pragma once

#include <QWidget>

// The first panel of a browser window's status line: the download progress
// of the shown page as a bar of vertical lines, one line per 8 pixels.
class ProgressPanel : public QWidget {
    Q_OBJECT

public:
    explicit ProgressPanel(QWidget *parent = nullptr);

    int percent() const { return percent_; }
    void setPercent(int percent);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int percent_ = 0;
};
