#pragma once

#include <QString>
#include <QStringList>

// The links of an HTML fragment (selected text, dropped HTML) shown in a page
// under an offline address: the href of every A tag, resolved against the
// page's address, as offline addresses with the page's own prefix. Each link
// once, in order.
QStringList fragmentLinks(const QString &documentAddress, const QString &fragment);
