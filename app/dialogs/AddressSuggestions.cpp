#include "AddressSuggestions.h"

#include <QUrl>

#include "AddressNormalisation.h"

AddressSuggestions AddressSuggestions::of(const QString &address) {
    QString text = address;
    text.remove(u'*');
    const QUrl url(normalisedAddress(text));
    const QString scheme = url.scheme().toLower();
    if (text.isEmpty() || (scheme != u"http" && scheme != u"https")) return {address, address};
    QString host = url.host();
    if (host.startsWith(QStringLiteral("www."), Qt::CaseInsensitive)) host = host.mid(4);
    const int port = url.port();
    if (port != -1 && port != 80 && port != 21 && port != 443) host += u':' + QString::number(port);
    const QString start = scheme + QStringLiteral("://*") + host;
    const QString path = url.path(QUrl::FullyEncoded);
    qsizetype cut = path.lastIndexOf(u'\\');
    if (cut < 0) cut = path.lastIndexOf(u'/');
    return {start + u'*', start + path.left(cut + 1) + u'*'};
}
