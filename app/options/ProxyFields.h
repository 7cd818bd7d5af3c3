#pragma once

#include <array>

#include <QString>

class QGridLayout;
class QLineEdit;
class QWidget;

// One proxy's row of fields (server address, port, user name, password)
// and its text: the four joined by ":". A text that does not split into
// exactly four parts fills no field; four empty fields give an empty text.
class ProxyFields {
public:
    ProxyFields(QGridLayout *grid, int row, const QString &label, const QString &name, QWidget *parent);

    QString text() const;
    void setText(const QString &text);
    void setEnabled(bool enabled);
    bool sameAs(const ProxyFields &other) const;
    // Copies the other row's fields into these.
    void copy(const ProxyFields &other);
    const std::array<QLineEdit *, 4> &fields() const { return fields_; }

private:
    std::array<QLineEdit *, 4> fields_;
};
