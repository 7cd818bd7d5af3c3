#include "GeneralOptionsPage.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

const QString kDefaultDiskSize = QStringLiteral("300");

}  // namespace

GeneralOptionsPage::GeneralOptionsPage(QWidget *parent)
    : OptionsPage(parent),
      diskLimited_(new QCheckBox(QStringLiteral("Stop if free disk space drops below"), this)),
      diskSize_(new QLineEdit(kDefaultDiskSize, this)) {
    auto *connection = new QGroupBox(QStringLiteral(" Connection Options "), this);
    auto *limits = new QFormLayout(connection);
    // Up to the engine's limit: the default of 300 must show as it is.
    addSpin(limits, QStringLiteral("Timeout (sec.):"), &ProgramOptions::timeOut, 0, 600);
    addSpin(limits, QStringLiteral("Max retries:"), &ProgramOptions::retries, 0, 99);
    addSpin(limits, QStringLiteral("Max connections per server:"), &ProgramOptions::maxConnPerServ, 1, 10);
    addSpin(limits, QStringLiteral("Max connections:"), &ProgramOptions::maxConnections, 0, 99);
    addSpin(limits, QStringLiteral("Pause between connection:"), &ProgramOptions::pauseBetwConn, 0, 100);

    auto *startup = new QGroupBox(QStringLiteral(" Startup Options "), this);
    auto *atStart = new QVBoxLayout(startup);
    addCheck(atStart, QStringLiteral("Open new project"), &ProgramOptions::openNewProjectAtStart);
    addCheck(atStart, QStringLiteral("Launch browser"), &ProgramOptions::launchBrowserAtStart);
    addCheck(atStart, QStringLiteral("Go online"), &ProgramOptions::goToOnlineAfterOpen);
    atStart->addStretch();

    diskLimited_->setObjectName(QStringLiteral("diskLimited"));
    diskSize_->setObjectName(QStringLiteral("diskSize"));
    // Only a number of kilobytes can be typed; an empty field is the default limit.
    diskSize_->setValidator(new QIntValidator(0, int(ProgramOptions::kNoDiskLimit) - 1, diskSize_));
    diskSize_->setMaximumWidth(90);
    auto *disk = new QHBoxLayout;
    disk->addWidget(diskLimited_);
    disk->addWidget(diskSize_);
    disk->addWidget(new QLabel(QStringLiteral("Kbytes."), this));
    disk->addStretch();
    connect(diskLimited_, &QCheckBox::toggled, diskSize_, &QWidget::setEnabled);
    connect(diskLimited_, &QCheckBox::toggled, this, &OptionsPage::changed);
    connect(diskSize_, &QLineEdit::textEdited, this, &OptionsPage::changed);

    auto *groups = new QHBoxLayout;
    groups->addWidget(connection);
    groups->addWidget(startup);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(disk);
    addCheck(layout, QStringLiteral("Whenever possible, retrieve files from Internet Explorer cache"),
             &ProgramOptions::retrieveFromIECache);
    layout->addStretch();
}

void GeneralOptionsPage::load(const ProgramOptions &options) {
    OptionsPage::load(options);
    const bool limited = options.diskSize != ProgramOptions::kNoDiskLimit;
    diskLimited_->setChecked(limited);
    diskSize_->setText(limited ? QString::number(options.diskSize) : kDefaultDiskSize);
    diskSize_->setEnabled(limited);
}

void GeneralOptionsPage::store(ProgramOptions &options) const {
    OptionsPage::store(options);
    const QString size = diskSize_->text().isEmpty() ? kDefaultDiskSize : diskSize_->text();
    options.diskSize = diskLimited_->isChecked() ? size.toUInt() : ProgramOptions::kNoDiskLimit;
}
