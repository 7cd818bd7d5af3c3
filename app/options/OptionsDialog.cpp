#include "OptionsDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "BrowserOptionsPage.h"
#include "GeneralOptionsPage.h"
#include "KestProject.h"
#include "OptionsApplication.h"
#include "PingOptionsPage.h"
#include "ProxyOptionsPage.h"

OptionsDialog::OptionsDialog(ProgramOptions &options, KestProject &project, Page page, QWidget *parent)
    : QDialog(parent),
      options_(options),
      project_(project),
      pages_(new QTabWidget(this)),
      general_(new GeneralOptionsPage(this)),
      proxy_(new ProxyOptionsPage(this)),
      ping_(new PingOptionsPage(project, this)),
      browser_(new BrowserOptionsPage(this)) {
    setWindowTitle(QStringLiteral("Options"));
    pages_->addTab(general_, QStringLiteral("General"));
    pages_->addTab(proxy_, QStringLiteral("Proxy"));
    pages_->addTab(ping_, QStringLiteral("Ping"));
    pages_->addTab(browser_, QStringLiteral("Browser"));
    pages_->setCurrentIndex(page);

    auto *buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply | QDialogButtonBox::Help, this);
    apply_ = buttons->button(QDialogButtonBox::Apply);
    apply_->setText(QStringLiteral("Apply"));
    apply_->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &OptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, &OptionsDialog::helpRequested);
    connect(apply_, &QPushButton::clicked, this, [this] { apply_->setEnabled(!save()); });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addWidget(buttons);

    // Loaded first, so that only the user's changes enable "Apply".
    for (OptionsPage *shown : allPages()) {
        shown->load(options_);
        connect(shown, &OptionsPage::changed, this, [this] { apply_->setEnabled(true); });
    }
    // An edited host list goes to the option set and the project at once.
    connect(ping_, &PingOptionsPage::hostsEdited, this, [this](const QString &hosts) {
        options_.pingHosts = hosts;
        project_.setPingHosts(hosts);
        if (project_.active()) project_.writeProperties();
    });
}

std::vector<OptionsPage *> OptionsDialog::allPages() const { return {general_, proxy_, ping_, browser_}; }

bool OptionsDialog::save() {
    for (const OptionsPage *shown : allPages()) shown->store(options_);
    return applyOptionsToProject(options_, project_) || !project_.active();
}

void OptionsDialog::accept() {
    if (ping_->editing()) {
        ping_->cancelEditing();
        return;
    }
    if (save())
        QDialog::accept();
    else
        apply_->setEnabled(true);
}
