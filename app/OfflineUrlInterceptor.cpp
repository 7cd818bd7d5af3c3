#include "OfflineUrlInterceptor.h"

#include "kiv.h"

namespace {

bool servedHere(const QString &scheme) {
    return scheme == QStringLiteral("kiv") || scheme == QStringLiteral("qzinfo") || scheme == QStringLiteral("data") ||
           scheme == QStringLiteral("blob") || scheme == QStringLiteral("about") || scheme == QStringLiteral("qrc");
}

}  // namespace

void OfflineUrlInterceptor::interceptRequest(QWebEngineUrlRequestInfo &info) {
    const QUrl url = info.requestUrl();
    if (servedHere(url.scheme())) return;
    const QByteArray base = info.firstPartyUrl().toString(QUrl::FullyEncoded).toUtf8();
    const QByteArray relative = url.toString(QUrl::FullyEncoded).toUtf8();
    char combined[4096];
    uint32_t length = 0;
    if (Kiv_CombineUrl(base.constData(), relative.constData(), combined, sizeof combined, &length) == KIV_S_OK &&
        QByteArray(combined).startsWith("kiv:"))
        info.redirect(QUrl(QString::fromUtf8(combined, length)));
    else
        info.block(true);
}
