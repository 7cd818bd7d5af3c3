#include "ProxyFields.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>

ProxyFields::ProxyFields(QGridLayout *grid, int row, const QString &label, const QString &name, QWidget *parent) {
    grid->addWidget(new QLabel(label, parent), row, 0);
    const char *const parts[] = {"Server", "Port", "User", "Password"};
    for (size_t k = 0; k < fields_.size(); ++k) {
        fields_[k] = new QLineEdit(parent);
        fields_[k]->setObjectName(name + QLatin1String(parts[k]));
        grid->addWidget(fields_[k], row, int(k) + 1);
    }
    fields_[3]->setEchoMode(QLineEdit::Password);
}

QString ProxyFields::text() const {
    QStringList parts;
    for (const QLineEdit *field : fields_) parts << field->text();
    return parts.join(QString()).isEmpty() ? QString() : parts.join(u':');
}

void ProxyFields::setText(const QString &text) {
    QStringList parts = text.split(u':');
    if (parts.size() != int(fields_.size())) parts = QStringList(int(fields_.size()), QString());
    for (size_t k = 0; k < fields_.size(); ++k) fields_[k]->setText(parts[int(k)]);
}

void ProxyFields::setEnabled(bool enabled) {
    for (QLineEdit *field : fields_) field->setEnabled(enabled);
}

bool ProxyFields::sameAs(const ProxyFields &other) const {
    for (size_t k = 0; k < fields_.size(); ++k)
        if (fields_[k]->text() != other.fields_[k]->text()) return false;
    return true;
}

void ProxyFields::copy(const ProxyFields &other) {
    for (size_t k = 0; k < fields_.size(); ++k) fields_[k]->setText(other.fields_[k]->text());
}
