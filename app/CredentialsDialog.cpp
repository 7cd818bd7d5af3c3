#include "CredentialsDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString captionFor(const EngCredentialsPrompt &prompt) {
    if (prompt.userName) return QStringLiteral("Enter Network Password");
    return prompt.kind == ENG_PROMPT_SERVER ? QStringLiteral("User Authentication Required")
                                            : QStringLiteral("Proxy Authentication Required");
}

QLineEdit *textBox(const char *text, QWidget *parent) {
    auto *box = new QLineEdit(parent);
    box->setMaxLength(CredentialsDialog::kLongestText);
    if (text) box->setText(QString::fromUtf8(text));
    return box;
}

}  // namespace

CredentialsDialog::CredentialsDialog(const EngCredentialsPrompt &prompt, QWidget *parent)
    : QDialog(parent),
      promptId_(prompt.id),
      userName_(textBox(prompt.userName, this)),
      password_(textBox(prompt.password, this)) {
    setWindowTitle(captionFor(prompt));
    password_->setEchoMode(QLineEdit::Password);

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Site:"), new QLabel(QString::fromUtf8(prompt.site), this));
    fields->addRow(QStringLiteral("Realm:"), new QLabel(QString::fromUtf8(prompt.realm), this));
    auto *userLabel = new QLabel(QStringLiteral("&User name :"), this);
    userLabel->setBuddy(userName_);
    fields->addRow(userLabel, userName_);
    auto *passwordLabel = new QLabel(QStringLiteral("&Password:"), this);
    passwordLabel->setBuddy(password_);
    fields->addRow(passwordLabel, password_);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Please type your user name and password:"), this));
    layout->addLayout(fields);
    layout->addWidget(buttons);
    if (!prompt.userName) userName_->setFocus();
}

QString CredentialsDialog::userName() const { return userName_->text().left(kLongestText); }

QString CredentialsDialog::password() const { return password_->text().left(kLongestText); }
