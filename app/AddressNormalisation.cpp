#include "AddressNormalisation.h"

#include "net/Url.h"

namespace {

QString canonical(const QString &text) {
    const std::string bytes = text.trimmed().toStdString();
    const auto parts = eng::url::split(bytes);
    if (!parts || parts->kind == eng::url::SchemeKind::Other) return {};
    if (parts->kind != eng::url::SchemeKind::File && parts->host.empty()) return {};  // "http:///"
    const auto address = eng::url::canonicalize(bytes, eng::url::NoEncode | eng::url::BrowserMode);
    return address ? QString::fromStdString(*address) : QString();
}

}  // namespace

QString normalisedAddress(const QString &text) {
    if (eng::url::split(text.trimmed().toStdString())) return canonical(text);
    return canonical(QStringLiteral("http://") + text.trimmed());
}
