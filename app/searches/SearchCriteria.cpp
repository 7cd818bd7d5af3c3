#include "SearchCriteria.h"

#include <QRegularExpression>

SearchCriteria SearchCriteria::ofStates(int16_t states) {
    SearchCriteria criteria;
    criteria.states = states;
    return criteria;
}

namespace {

// scheme "://" [user-info "@"] host [":" port] [path], the rest (a query or fragment) left out.
const QRegularExpression &webAddress() {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^(https?)://(?:[^/?#@]*@)?([^/?#:]*)(?::(\d*))?([^?#]*))"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

QString portPart(const QString &port) {
    if (port.isEmpty()) return {};
    const int number = port.toInt();
    return number == 80 || number == 21 || number == 443 ? QString() : QStringLiteral(":") + port;
}

}  // namespace

QString withWildcards(const QString &address) {
    if (address.isEmpty() || address.contains(u'*')) return address;
    const QRegularExpressionMatch web = webAddress().match(address);
    if (!web.hasMatch()) return QStringLiteral("*") + address + QStringLiteral("*");
    QString host = web.captured(2);
    if (host.startsWith(QStringLiteral("www."), Qt::CaseInsensitive)) host = host.mid(4);
    return web.captured(1) + QStringLiteral("://*") + host + portPart(web.captured(3)) + web.captured(4) +
           QStringLiteral("*");
}
