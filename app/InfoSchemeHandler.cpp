#include "InfoSchemeHandler.h"

#include <QBuffer>
#include <QFile>
#include <QWebEngineUrlRequestJob>

QByteArray InfoSchemeHandler::pageFor(const QUrl &url) {
    QFile resource(QStringLiteral(":/pages/") + url.host().toUpper());
    if (resource.open(QIODevice::ReadOnly)) return resource.readAll();
    return "<HTML> Resource " + url.toString().toHtmlEscaped().toUtf8() + " not found. </HTML>";
}

void InfoSchemeHandler::requestStarted(QWebEngineUrlRequestJob *job) {
    auto *device = new QBuffer(job);
    device->setData(pageFor(job->requestUrl()));
    job->reply("text/html", device);
}
