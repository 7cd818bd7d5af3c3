#include "OfflineAddressText.h"

namespace {

constexpr QStringView kStampFormat = u"dd-MM-yyyy-hh-mm-ss";

// The three fields of an offline address and what follows them; empty when
// the text is no offline address. An "ACTION" address wraps the text from
// its twelfth character to the first '&' after it.
QStringList partsOf(const QString &text) {
    if (!text.startsWith(QStringLiteral("kiv:"), Qt::CaseInsensitive)) return {};
    if (text.mid(4, 6) == QStringLiteral("ACTION")) {
        const QString rest = text.mid(11);
        return {QString(), QString(), QString(), rest.left(rest.indexOf(u'&'))};
    }
    QStringList parts;
    qsizetype at = 4;
    for (int field = 0; field < 3; ++field) {
        const qsizetype colon = text.indexOf(u':', at);
        if (colon < 0) return {};
        parts << text.mid(at, colon - at);
        at = colon + 1;
    }
    parts << text.mid(at);
    return parts;
}

}  // namespace

QString offlineAddress(const QString &address, uint32_t number, const QDateTime &stamp) {
    return QStringLiteral("kiv:0:%1:%2:%3").arg(stamp.toString(kStampFormat)).arg(number).arg(address);
}

bool isOfflineAddress(const QString &text) { return !partsOf(text).isEmpty(); }

QString wrappedAddress(const QString &text) {
    const QStringList parts = partsOf(text);
    return parts.isEmpty() ? text : parts[3];
}

uint32_t offlineNumber(const QString &text) {
    const QStringList parts = partsOf(text);
    return parts.isEmpty() ? 0 : parts[2].toUInt();
}

QDateTime offlineStamp(const QString &text) {
    const QStringList parts = partsOf(text);
    return parts.isEmpty() ? QDateTime() : QDateTime::fromString(parts[1], kStampFormat);
}
