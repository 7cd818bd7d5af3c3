#include "ProxyOptionsPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ProxyFields.h"

namespace {

constexpr int kNoProxy = 1, kSystemProxy = 0, kOwnProxy = 3;

}  // namespace

ProxyOptionsPage::ProxyOptionsPage(QWidget *parent)
    : OptionsPage(parent),
      noProxy_(new QRadioButton(QStringLiteral("Do not use proxy"), this)),
      systemProxy_(new QRadioButton(QStringLiteral("Use IE proxy settings"), this)),
      ownProxy_(new QRadioButton(QStringLiteral("Use proxy:"), this)),
      same_(new QCheckBox(QStringLiteral("Use the same for both protocols"), this)) {
    auto *grid = new QGridLayout;
    const QString headings[] = {QStringLiteral("Server Address"), QStringLiteral("Port"), QStringLiteral("UserName"),
                                QStringLiteral("Password")};
    for (int k = 0; k < 4; ++k) grid->addWidget(new QLabel(headings[k], this), 0, k + 1);
    http_ = std::make_unique<ProxyFields>(grid, 1, QStringLiteral("Http proxy:"), QStringLiteral("http"), this);
    ftp_ = std::make_unique<ProxyFields>(grid, 2, QStringLiteral("Ftp proxy:"), QStringLiteral("ftp"), this);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 1);
    auto *layout = new QVBoxLayout(this);
    for (QRadioButton *choice : {noProxy_, systemProxy_, ownProxy_}) {
        layout->addWidget(choice);
        connect(choice, &QRadioButton::toggled, this, &ProxyOptionsPage::followChoice);
        connect(choice, &QRadioButton::toggled, this, &OptionsPage::changed);
    }
    layout->addLayout(grid);
    layout->addWidget(same_);
    layout->addStretch();

    connect(ownProxy_, &QRadioButton::clicked, this, [this] { http_->fields()[0]->setFocus(); });
    connect(same_, &QCheckBox::toggled, this, [this](bool same) {
        if (same) ftp_->copy(*http_);
        followChoice();
        emit changed();
    });
    for (QLineEdit *field : http_->fields())
        connect(field, &QLineEdit::textChanged, this, [this] {
            if (same_->isChecked()) ftp_->copy(*http_);
            emit changed();
        });
    for (QLineEdit *field : ftp_->fields()) connect(field, &QLineEdit::textChanged, this, &OptionsPage::changed);
}

ProxyOptionsPage::~ProxyOptionsPage() = default;

void ProxyOptionsPage::followChoice() {
    const bool own = ownProxy_->isChecked();
    http_->setEnabled(own);
    same_->setEnabled(own);
    ftp_->setEnabled(own && !same_->isChecked());
}

void ProxyOptionsPage::load(const ProgramOptions &options) {
    OptionsPage::load(options);
    (options.accessType == kOwnProxy  ? ownProxy_
     : options.accessType == kNoProxy ? noProxy_
                                      : systemProxy_)
        ->setChecked(true);
    http_->setText(options.httpProxy);
    ftp_->setText(options.ftpProxy);
    same_->setChecked(ftp_->sameAs(*http_));
    followChoice();
}

void ProxyOptionsPage::store(ProgramOptions &options) const {
    OptionsPage::store(options);
    options.accessType = ownProxy_->isChecked() ? kOwnProxy : noProxy_->isChecked() ? kNoProxy : kSystemProxy;
    options.httpProxy = http_->text();
    options.ftpProxy = ftp_->text();
}
