#include "PingOptionsPage.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "EngineLibrary.h"
#include "HostList.h"
#include "KestProject.h"
#include "RecordBuffer.h"

namespace {

const QString kPlaceholder = QStringLiteral("host.name");
const QString kLineEnd = QStringLiteral("\r\n");

enum class Look { Off, Unknown, Replied, Silent };

QIcon stateIcon(Look look) {
    static const QColor colours[] = {Qt::lightGray, Qt::darkGray, Qt::green, Qt::red};
    QPixmap picture(12, 12);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colours[static_cast<int>(look)]);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(1, 1, 10, 10);
    return QIcon(picture);
}

QString stateText(const EngPingStateRecord &state) {
    if (state.replied != 1) return QStringLiteral("Not Available");
    if (state.roundTrip > 9) return QString::number(state.roundTrip) + QStringLiteral(" ms");
    return QStringLiteral("time<10 ms");
}

}  // namespace

PingOptionsPage::PingOptionsPage(KestProject &project, QWidget *parent)
    : OptionsPage(parent),
      project_(project),
      hosts_(new HostList(this)),
      add_(new QPushButton(QStringLiteral("Add"), this)),
      edit_(new QPushButton(QStringLiteral("Edit"), this)),
      remove_(new QPushButton(QStringLiteral("Remove"), this)),
      timer_(new QTimer(this)) {
    auto *layout = new QVBoxLayout(this);
    enabled_ = addCheck(layout, QStringLiteral("Enable ping"), &ProgramOptions::enablePing);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {add_, edit_, remove_}) buttons->addWidget(button);
    buttons->addStretch();
    auto *list = new QHBoxLayout;
    list->addWidget(hosts_, 1);
    list->addLayout(buttons);
    layout->addLayout(list);

    connect(enabled_, &QCheckBox::toggled, this, &PingOptionsPage::showEnabled);
    connect(hosts_, &QTreeWidget::itemSelectionChanged, this, &PingOptionsPage::followState);
    connect(hosts_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *row, int column) {
        if (column == 0) hostNamed(row);
    });
    connect(hosts_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *row) {
        if (enabled_->isChecked()) editHost(row);
    });
    connect(add_, &QPushButton::clicked, this, &PingOptionsPage::addHost);
    connect(edit_, &QPushButton::clicked, this, [this] { editHost(hosts_->currentItem()); });
    connect(remove_, &QPushButton::clicked, this, &PingOptionsPage::removeHost);
    connect(timer_, &QTimer::timeout, this, &PingOptionsPage::showStates);
    timer_->start(1000);
}

void PingOptionsPage::load(const ProgramOptions &options) {
    OptionsPage::load(options);
    const QSignalBlocker quiet(hosts_);
    hosts_->clear();
    for (const QString &host : options.pingHosts.split(kLineEnd, Qt::SkipEmptyParts)) newRow(host);
    followState();
}

void PingOptionsPage::store(ProgramOptions &options) const {
    OptionsPage::store(options);
    options.pingHosts = hostsText();
}

bool PingOptionsPage::editing() const { return hosts_->editing(); }

void PingOptionsPage::cancelEditing() { hosts_->cancelEditing(); }

QString PingOptionsPage::hostsText() const {
    QString text;
    for (int k = 0; k < hosts_->topLevelItemCount(); ++k) text += hosts_->topLevelItem(k)->text(0) + kLineEnd;
    return text;
}

QTreeWidgetItem *PingOptionsPage::newRow(const QString &host) {
    auto *row = new QTreeWidgetItem(hosts_, {host, QStringLiteral("Not available")});
    row->setFlags(row->flags() | Qt::ItemIsEditable);
    row->setIcon(0, stateIcon(enabled_->isChecked() ? Look::Unknown : Look::Off));
    return row;
}

void PingOptionsPage::addHost() {
    QTreeWidgetItem *row = [this] {
        const QSignalBlocker quiet(hosts_);
        return newRow(kPlaceholder);
    }();
    hosts_->setCurrentItem(row);
    editHost(row);
    followState();
}

void PingOptionsPage::editHost(QTreeWidgetItem *row) {
    if (row) hosts_->editItem(row, 0);
}

void PingOptionsPage::removeHost() {
    delete hosts_->currentItem();
    followState();
    emit changed();
    emit hostsEdited(hostsText());
}

void PingOptionsPage::hostNamed(QTreeWidgetItem *row) {
    if (row->text(0).trimmed().isEmpty()) {
        QMessageBox::critical(this, QStringLiteral("Sitelark"), QStringLiteral("Invalid host name."));
        {
            const QSignalBlocker quiet(hosts_);
            row->setText(0, kPlaceholder);
        }
        // Edited again once the edit that ended has closed its editor.
        QTimer::singleShot(0, this, [this, row] { editHost(row); });
    }
    emit changed();
    emit hostsEdited(hostsText());
}

void PingOptionsPage::followState() {
    const bool on = enabled_->isChecked();
    hosts_->setEnabled(on);
    add_->setEnabled(on && hosts_->topLevelItemCount() < kMaxHosts);
    const bool chosen = on && hosts_->currentItem() && hosts_->currentItem()->isSelected();
    edit_->setEnabled(chosen);
    remove_->setEnabled(chosen);
}

void PingOptionsPage::showEnabled(bool on) {
    const QSignalBlocker quiet(hosts_);
    for (int k = 0; k < hosts_->topLevelItemCount(); ++k)
        hosts_->topLevelItem(k)->setIcon(0, stateIcon(on ? Look::Unknown : Look::Off));
    followState();
}

void PingOptionsPage::showStates() {
    if (!enabled_->isChecked() || !project_.active()) return;
    const auto states =
        eng::client::receiveRecords<EngPingStateRecord>(engine().Eng_FreeMem, engine().Eng_GetPingSocketsState);
    const QSignalBlocker quiet(hosts_);
    for (const EngPingStateRecord &state : states) {
        const QString host = QString::fromUtf8(state.host ? state.host : "");
        for (int k = 0; k < hosts_->topLevelItemCount(); ++k) {
            QTreeWidgetItem *row = hosts_->topLevelItem(k);
            if (row->text(0).trimmed().compare(host, Qt::CaseInsensitive) != 0) continue;
            row->setIcon(0, stateIcon(state.replied == 1 ? Look::Replied : Look::Silent));
            row->setText(1, stateText(state));
        }
    }
}
