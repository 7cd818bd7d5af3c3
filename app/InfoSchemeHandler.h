#pragma once

#include <QWebEngineUrlSchemeHandler>

// The program's own pages under "qzinfo:": the request's host picks the
// page. The report pages come first (exports/ReportPages.h). The host
// "help" serves the help pages by their path. Hosts that no page of the
// program answers fall to the built-in resource named by the host in
// capitals, and to a "not found" page when there is none. Each answer is
// delivered whole, at once.
class InfoSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob *job) override;

    struct Answer {
        QByteArray mimeType;
        QByteArray data;
    };
    // The page for an address, as delivered.
    static Answer pageFor(const QUrl &url);
};
