#include "StatFrame.h"

#include <algorithm>
#include <cmath>

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QLCDNumber>
#include <QLabel>
#include <QPainter>
#include <QToolBar>
#include <QVBoxLayout>

#include "KestProject.h"
#include "options/OptionsDialog.h"
#include "options/OptionsRequests.h"
#include "views/ProgressTexts.h"
#include "views/SpeedChart.h"
#include "views/TaskRow.h"

namespace {

// A round picture in the colour, for the ping state.
QPixmap dot(const QColor &colour) {
    QPixmap picture(14, 14);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(colour.darker());
    painter.drawEllipse(1, 1, 12, 12);
    return picture;
}

}  // namespace

StatFrame::StatFrame(KestProject &project, QWidget *parent)
    : QWidget(parent),
      project_(project),
      caption_(new QLabel(this)),
      timeRemaining_(new QLCDNumber(8, this)),
      counters_(new QWidget(this)),
      chart_(new SpeedChart(samples_, this)),
      ping_(new QLabel(this)) {
    clock_.start();
    blinkTimer_.setInterval(500);
    connect(&blinkTimer_, &QTimer::timeout, this, &StatFrame::blink);
    timeRemaining_->setObjectName(QStringLiteral("timeRemaining"));
    timeRemaining_->setSegmentStyle(QLCDNumber::Flat);
    timeRemaining_->setToolTip(
        QStringLiteral("Time Remaining: estimated time required to finish the download process."));
    timeRemaining_->setMinimumHeight(32);
    caption_->setObjectName(QStringLiteral("caption"));
    ping_->setObjectName(QStringLiteral("ping"));
    ping_->installEventFilter(this);  // a click opens the ping options

    auto *grid = new QGridLayout(counters_);
    grid->setContentsMargins(0, 0, 0, 0);
    queued_ = addCounter(grid, QStringLiteral("Queued :"), QStringLiteral("queued"));
    retrieved_ = addCounter(grid, QStringLiteral("Retrieved :"), QStringLiteral("retrieved"));
    errors_ = addCounter(grid, QStringLiteral("Errors :"), QStringLiteral("errors"));
    bytes_ = addCounter(grid, QStringLiteral("  Bytes Retrieved :"), QStringLiteral("bytesRetrieved"));
    averageSpeed_ = addCounter(grid, QStringLiteral("Avg Speed :"), QStringLiteral("averageSpeed"));

    auto *pingRow = new QHBoxLayout;
    pingRow->addWidget(new QLabel(QStringLiteral("Ping"), this));
    pingRow->addWidget(ping_);
    pingRow->addStretch();
    // Two rows: the pane is narrow, and one row would hide commands behind its overflow button.
    auto *views = new QToolBar(this);
    auto *actions = new QToolBar(this);
    buildCommands(views, actions);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(views);
    layout->addWidget(actions);
    layout->addWidget(caption_);
    layout->addWidget(timeRemaining_);
    layout->addWidget(counters_);
    layout->addWidget(chart_, 1);
    layout->addLayout(pingRow);

    connect(&project_, &KestProject::statisticsChanged, this, &StatFrame::showStatistics);
    connect(&project_, &KestProject::runningChanged, this, [this] {
        samples_.restartCount();
        showLook();
    });
    connect(&project_, &KestProject::afterOpen, this, &StatFrame::showLook);
    connect(&project_, &KestProject::beforeClose, this, &StatFrame::reset);
    connect(&project_, &KestProject::afterClose, this, &StatFrame::showLook);
    connect(&project_, &KestProject::pingStateChanged, this, &StatFrame::showPing);
    showPing(2);
    reset();
}

QLabel *StatFrame::addCounter(QGridLayout *grid, const QString &caption, const QString &name) {
    const int row = grid->rowCount();
    grid->addWidget(new QLabel(caption, counters_), row, 0);
    auto *value = new QLabel(counters_);
    value->setObjectName(name);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(value, row, 1);
    return value;
}

void StatFrame::buildCommands(QToolBar *views, QToolBar *bar) {
    QAction *chart = views->addAction(QStringLiteral("Show Chart"));
    QAction *general = views->addAction(QStringLiteral("General statistics"));
    for (QAction *part : {chart, general}) {
        part->setCheckable(true);
        part->setChecked(true);
    }
    // Each part hides only while the other shows, so the pane never goes empty.
    connect(chart, &QAction::toggled, this, [this, chart, general](bool shown) {
        if (!shown && !general->isChecked()) return chart->setChecked(true);
        chart_->setVisible(shown);
    });
    connect(general, &QAction::toggled, this, [this, chart, general](bool shown) {
        if (!shown && !chart->isChecked()) return general->setChecked(true);
        counters_->setVisible(shown);
    });
    QAction *ping = bar->addAction(QStringLiteral("Ping Hosts"), this, &StatFrame::showPingOptions);
    QAction *reset = bar->addAction(QStringLiteral("Reset Statistics"), &project_, &KestProject::resetProgress);
    reset->setEnabled(false);
    connect(&project_, &KestProject::afterOpen, reset, [this, reset] { reset->setEnabled(project_.active()); });
    connect(&project_, &KestProject::afterClose, reset, [reset] { reset->setEnabled(false); });
    QAction *help = bar->addAction(QStringLiteral("Help"), this, &StatFrame::helpRequested);
    commands_ = {chart, general, ping, reset, help};
}

QAction *StatFrame::command(const QString &caption) const {
    for (QAction *action : commands_)
        if (action->text() == caption) return action;
    return nullptr;
}

void StatFrame::showStatistics(const StatProgress &statistics) {
    queued_->setText(groupedNumber(statistics.itemsRemaining));
    retrieved_->setText(groupedNumber(statistics.itemsRetrieved));
    errors_->setText(groupedNumber(statistics.errors));
    if (project_.running()) {
        samples_.add(clock_.elapsed(), statistics.currentSpeed);
        averageSpeed_->setText(groupedNumber(uint64_t(samples_.average())) + QStringLiteral(" cps"));
        showTimeRemaining(statistics.timeRemaining);
        chart_->update();
    }
    bytes_->setText(retrievedBytesText(statistics.bytesRetrieved));
}

void StatFrame::showTimeRemaining(double days) {
    if (days >= 1) return timeRemaining_->display(QStringLiteral("88:88:88"));
    timeRemaining_->display(elapsedText(std::llround(std::max(0.0, days) * 86400)));
}

void StatFrame::showLook() {
    const bool online = project_.active() && project_.running();
    caption_->setText(online ? QStringLiteral("Time Remaining") : QStringLiteral("Working Offline"));
    caption_->setStyleSheet(online ? QStringLiteral("color: #c8a000; font-weight: bold")
                                   : QStringLiteral("color: red; font-weight: bold"));
    if (online) {
        blinkTimer_.stop();
        showTimeRemaining(project_.statistics().timeRemaining);
    } else {
        blinkTimer_.start();
        colonsShown_ = false;
        blink();
    }
}

void StatFrame::blink() {
    colonsShown_ = !colonsShown_;
    timeRemaining_->display(colonsShown_ ? QStringLiteral("  :  :  ") : QString(8, u' '));
}

void StatFrame::showPingOptions() { emit OptionsRequests::instance().optionsRequested(OptionsDialog::Ping); }

bool StatFrame::eventFilter(QObject *watched, QEvent *event) {
    if (watched == ping_ && event->type() == QEvent::MouseButtonRelease) showPingOptions();
    return QWidget::eventFilter(watched, event);
}

void StatFrame::showPing(int state) {
    static const struct {
        QColor colour;
        const char *hint;
    } kStates[] = {{Qt::red, "Internet Connection not Available"},
                   {Qt::green, "Internet Connection Available"},
                   {Qt::gray, "Internet Connection Detector"}};
    if (state < 0 || state > 2) return;
    ping_->setPixmap(dot(kStates[state].colour));
    ping_->setToolTip(QString::fromLatin1(kStates[state].hint));
}

void StatFrame::reset() {
    samples_.reset();
    for (QLabel *counter : {queued_, retrieved_, errors_, bytes_}) counter->setText(QStringLiteral("0"));
    averageSpeed_->setText(QStringLiteral("0 cps"));
    chart_->update();
    showLook();
}
