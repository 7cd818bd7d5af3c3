#pragma once

#include <QDialog>

#include "engine.h"

class QLineEdit;

// "Enter Network Password": the site and realm that ask, a user-name box and
// a masked password box (50 characters each), OK (default) and Cancel. Its
// caption names the kind of challenge, unless it opens with a stored answer.
class CredentialsDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kLongestText = 50;

    explicit CredentialsDialog(const EngCredentialsPrompt &prompt, QWidget *parent = nullptr);

    uint32_t promptId() const { return promptId_; }
    QString userName() const;
    QString password() const;
    QLineEdit *userNameBox() const { return userName_; }
    QLineEdit *passwordBox() const { return password_; }

private:
    uint32_t promptId_;
    QLineEdit *userName_;
    QLineEdit *password_;
};
