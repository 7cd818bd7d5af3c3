#pragma once

#include <QString>

// What the filter test page tests: an address and the content kind it is
// tested as. The program's own pages set them through window.external; the
// program has one of each.
class FilterTestSubject {
public:
    static FilterTestSubject &instance();

    const QString &address() const { return address_; }
    void setAddress(const QString &address) { address_ = address; }
    int kind() const { return kind_; }
    // The kind by its place in the page's choice (links, images, embedded
    // and dynamic objects); other places leave the kind as it is.
    void chooseKind(int choice);
    // The kind itself (a link kind).
    void setKind(int kind) { kind_ = kind; }

private:
    QString address_ = QStringLiteral("http://");
    int kind_ = 0;
};
