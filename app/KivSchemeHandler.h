#pragma once

#include <QWebEngineUrlSchemeHandler>

// Answers the browser's "kiv:" requests through the offline protocol
// handler: one handler of the library per request, whose reports arrive
// from its worker thread and are turned into the request's redirect, reply
// or failure on the GUI thread. A document its browser window refreshes
// asks the handler for a fresh copy. A request the browser drops aborts its
// handler. A main document answered with a status page is marked as the
// program's own page in its browser window.
class KivSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob *job) override;
};
