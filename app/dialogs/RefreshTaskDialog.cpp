#include "RefreshTaskDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "engine.h"

RefreshTaskDialog::RefreshTaskDialog(uint32_t errors, uint32_t connectionErrors, QWidget *parent)
    : QDialog(parent),
      connection_(new QRadioButton(QStringLiteral("Try again only %1 file(s) that were not retrieved because of "
                                                  "connection errors")
                                       .arg(connectionErrors),
                                   this)),
      failed_(new QRadioButton(
          QStringLiteral("Try again %1 file(s) retrieved with errors (e.g. Not Found)").arg(errors), this)),
      all_(new QRadioButton(QStringLiteral("Refresh the entire task (all retrieved and queued files will be lost)"),
                            this)) {
    setWindowTitle(QStringLiteral("Refresh task"));
    auto *group = new QGroupBox(QStringLiteral("  What do you want to do:  "), this);
    auto *choices = new QVBoxLayout(group);
    for (QRadioButton *choice : {connection_, failed_, all_}) choices->addWidget(choice);
    connection_->setChecked(true);
    if (connectionErrors == 0) {
        connection_->setEnabled(false);
        failed_->setChecked(true);
        if (errors == 0) {
            failed_->setEnabled(false);
            all_->setChecked(true);
        }
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

int RefreshTaskDialog::mode() const {
    if (connection_->isChecked()) return ENG_REFRESH_CONNECTION_ERRORS;
    return failed_->isChecked() ? ENG_REFRESH_SERVER_ERRORS | ENG_REFRESH_CONNECTION_ERRORS : ENG_REFRESH_ALL;
}

int RefreshTaskDialog::ask(QWidget *parent, uint32_t errors, uint32_t connectionErrors) {
    RefreshTaskDialog dialog(errors, connectionErrors, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.mode() : 0;
}
