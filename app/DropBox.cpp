#include "DropBox.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QVariantAnimation>

#include "KestProject.h"
#include "ProgramSettings.h"
#include "TaskCreation.h"
#include "views/TransferReceiver.h"

namespace {

constexpr int kOpaque = 255;

}  // namespace

DropBox::DropBox(KestProject &project, ProgramSettings &settings, QWidget *mainWindow)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      project_(project),
      settings_(settings),
      mainWindow_(mainWindow),
      drop_(new QVariantAnimation(this)) {
    setFixedSize(46, 42);
    drop_->setStartValue(0.0);
    drop_->setEndValue(1.0);
    drop_->setDuration(600);
    connect(drop_, &QVariantAnimation::valueChanged, this, qOverload<>(&QWidget::update));
    setAcceptDrops(true);
    setWindowOpacity(settings_.number(QStringLiteral("Transparent")).value_or(179) / double(kOpaque));
    const int screenWidth = QGuiApplication::primaryScreen()->availableGeometry().width();
    move(settings_.number(QStringLiteral("Left")).value_or(screenWidth - width() - 2),
         settings_.number(QStringLiteral("Top")).value_or(0));
    // The box drops into the folder selected in the folder tree.
    connect(&project_, &KestProject::folderSelected, this, &DropBox::setFolder);
    connect(&project_, &KestProject::beforeClose, this, [this] { setFolder(0); });
}

void DropBox::save() const {
    settings_.setNumber(QStringLiteral("Transparent"), static_cast<uint32_t>(windowOpacity() * kOpaque + 0.5));
    settings_.setNumber(QStringLiteral("Left"), static_cast<uint32_t>(std::max(0, x())));
    settings_.setNumber(QStringLiteral("Top"), static_cast<uint32_t>(std::max(0, y())));
    settings_.setNumber(QStringLiteral("Visible"), isVisible() ? 1 : 0);
}

void DropBox::setFolder(uint32_t folder) {
    folder_ = folder;
    setWindowTitle(folder ? folderPath(folder).section(u'\\', -1) + QStringLiteral(" Folder") : QString());
    update();
}

void DropBox::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), folder_ ? QColor(40, 110, 180) : QColor(120, 120, 120));
    painter.setPen(QPen(Qt::white, 3));
    // While the drop plays, the arrow slides down and back.
    const double progress = animating() ? drop_->currentValue().toDouble() : 0.0;
    const double shift = 8 * (progress < 0.5 ? progress * 2 : (1 - progress) * 2);
    const QPointF top(width() / 2.0, 8 + shift), bottom(width() / 2.0, height() - 10 + shift);
    painter.drawLine(top, bottom);
    painter.drawLine(bottom, bottom + QPointF(-8, -8));
    painter.drawLine(bottom, bottom + QPointF(8, -8));
}

void DropBox::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton) grabbedAt_ = event->position().toPoint();
}

void DropBox::mouseMoveEvent(QMouseEvent *event) {
    if (event->buttons() & Qt::LeftButton) move(event->globalPosition().toPoint() - grabbedAt_);
}

void DropBox::contextMenuEvent(QContextMenuEvent *event) {
    QMenu menu;
    menu.addAction(tr("Show Main Form"), this,
                   [this] { mainWindow_->setWindowState(mainWindow_->windowState() ^ Qt::WindowMinimized); });
    QAction *browse = menu.addAction(tr("Launch Browser"), this, &DropBox::browserRequested);
    browse->setEnabled(project_.active());
    menu.addAction(tr("Hide Drop Box"), this, &QWidget::hide);
    QMenu *transparency = menu.addMenu(tr("Transparent"));
    for (const auto &[name, opacity] : {std::pair{"None", 255}, {"70%", 179}, {"50%", 126}, {"30%", 77}})
        transparency->addAction(tr(name), this,
                                [this, opacity = opacity] { setWindowOpacity(opacity / double(kOpaque)); });
    menu.addAction(tr("Help"), this, &DropBox::helpRequested);
    menu.exec(event->globalPos());
}

void DropBox::dragEnterEvent(QDragEnterEvent *event) {
    if (folder_ && (event->mimeData()->hasUrls() || event->mimeData()->hasText())) event->acceptProposedAction();
}

void DropBox::dropEvent(QDropEvent *event) {
    if (!folder_) return;
    event->acceptProposedAction();
    take(*event->mimeData());
}

int DropBox::take(const QMimeData &data) {
    if (!folder_) return 0;
    const int created = receiveTransfer(this, project_, folder_, data);
    if (created > 0) drop_->start();
    return created;
}

bool DropBox::animating() const { return drop_->state() == QAbstractAnimation::Running; }
