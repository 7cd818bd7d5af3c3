#include "AddressNormalisation.h"

#include <QRegularExpression>

#include "base/Url.h"

namespace {

QString canonical(const QString &text) {
    const std::string bytes = text.trimmed().toStdString();
    const auto parts = eng::url::split(bytes);
    if (!parts || parts->kind == eng::url::SchemeKind::Other) return {};
    if (parts->kind != eng::url::SchemeKind::File && parts->host.empty()) return {};  // "http:///"
    const auto address = eng::url::canonicalize(bytes, eng::url::NoEncode | eng::url::BrowserMode);
    return address ? QString::fromStdString(*address) : QString();
}

// Whether a text that splits into a scheme and the rest is really a host with
// a port ("example.org:8080/path", "localhost:8080"), as browsers read it:
// the rest starts with a port number that ends the text or its authority.
// Schemes whose addresses may start with digits ("tel:", "news:") stay
// schemes.
bool hostWithPort(const QString &text, const eng::url::Parts &parts) {
    static const QStringList kSchemes{QStringLiteral("about"),      QStringLiteral("blob"),   QStringLiteral("data"),
                                      QStringLiteral("javascript"), QStringLiteral("kiv"),    QStringLiteral("mailto"),
                                      QStringLiteral("news"),       QStringLiteral("qzinfo"), QStringLiteral("tel"),
                                      QStringLiteral("urn")};
    static const QRegularExpression kHostAndPort(QStringLiteral("^[A-Za-z0-9.-]+:[0-9]{1,5}(?:[/?#]|$)"));
    return parts.kind == eng::url::SchemeKind::Other && !kSchemes.contains(QString::fromStdString(parts.scheme)) &&
           kHostAndPort.match(text).hasMatch();
}

}  // namespace

QString normalisedAddress(const QString &text) {
    const QString typed = text.trimmed();
    const auto parts = eng::url::split(typed.toStdString());
    if (parts && !hostWithPort(typed, *parts)) return canonical(typed);
    return canonical(QStringLiteral("http://") + typed);
}
