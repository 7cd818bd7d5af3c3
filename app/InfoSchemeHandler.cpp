#include "InfoSchemeHandler.h"

#include <optional>

#include <QBuffer>
#include <QFile>
#include <QWebEngineUrlRequestJob>

#include "exports/ReportPages.h"

namespace {

// The help pages and their style sheet, by the address's path.
std::optional<InfoSchemeHandler::Answer> helpFile(const QUrl &url) {
    const QString path = url.path();
    QFile file(QStringLiteral(":/help") + path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return InfoSchemeHandler::Answer{path.endsWith(QStringLiteral(".css")) ? "text/css" : "text/html", file.readAll()};
}

}  // namespace

InfoSchemeHandler::Answer InfoSchemeHandler::pageFor(const QUrl &url) {
    if (auto report = reportAnswer(url)) return *report;
    if (url.host() == QStringLiteral("help"))
        if (auto help = helpFile(url)) return *help;
    QFile resource(QStringLiteral(":/pages/") + url.host().toUpper());
    if (resource.open(QIODevice::ReadOnly)) return {"text/html", resource.readAll()};
    return {"text/html", "<HTML> Resource " + url.toString().toHtmlEscaped().toUtf8() + " not found. </HTML>"};
}

void InfoSchemeHandler::requestStarted(QWebEngineUrlRequestJob *job) {
    Answer answer = pageFor(job->requestUrl());
    auto *device = new QBuffer(job);
    device->setData(answer.data);
    job->reply(answer.mimeType, device);
}
