#include "FormPoster.h"

#include <QWebEnginePage>

#include "PostedForms.h"
#include "kiv.h"

QString FormPoster::post(const QString &action, const QString &body) {
    const QByteArray base = page_.url().toString(QUrl::FullyEncoded).toUtf8();
    const QByteArray relative = action.toUtf8();
    char combined[4096];
    uint32_t length = 0;
    if (!base.startsWith("kiv:") ||
        Kiv_CombineUrl(base.constData(), relative.constData(), combined, sizeof combined, &length) != KIV_S_OK)
        return {};
    const QString address = QString::fromUtf8(combined, length);
    if (!address.startsWith(QStringLiteral("kiv:")) || !PostedForms::instance().remember(address, body.toUtf8()))
        return {};
    return address;
}
