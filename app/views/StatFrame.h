#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include "StatProgress.h"
#include "views/SpeedSamples.h"

class KestProject;
class QAction;
class QGridLayout;
class QLabel;
class QLCDNumber;
class QToolBar;
class SpeedChart;

// The statistics pane: the time remaining, the project's counters, the speed
// of the last 100 seconds as a chart with its average, and whether the
// Internet can be reached. It follows the project session: statistics as
// they arrive, going online and offline, the ping state, open and close.
class StatFrame : public QWidget {
    Q_OBJECT

public:
    StatFrame(KestProject &project, QWidget *parent);

    const SpeedSamples &samples() const { return samples_; }
    // The commands by their captions, for menus and tests.
    QAction *command(const QString &caption) const;

signals:
    void helpRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *addCounter(QGridLayout *grid, const QString &caption, const QString &name);
    // The pane's parts to show on the first bar, its commands on the second.
    void buildCommands(QToolBar *views, QToolBar *bar);
    void showStatistics(const StatProgress &statistics);
    void showTimeRemaining(double days);
    void showLook();
    // Offline, the colons of the time display blink.
    void blink();
    void showPing(int state);
    // The Options dialog on its Ping page.
    void showPingOptions();
    void reset();

    KestProject &project_;
    SpeedSamples samples_;
    QElapsedTimer clock_;  // the time of each update, for the chart
    QTimer blinkTimer_;
    bool colonsShown_ = true;
    QLabel *caption_;
    QLCDNumber *timeRemaining_;
    QLabel *queued_;
    QLabel *retrieved_;
    QLabel *errors_;
    QLabel *bytes_;
    QLabel *averageSpeed_;
    QWidget *counters_;
    SpeedChart *chart_;
    QLabel *ping_;
    QList<QAction *> commands_;
};
