#pragma once

#include <QWebEngineUrlRequestInterceptor>

// Keeps the browser off the network: a request for a web address (an image
// or a script that a page names absolutely, an address a script builds) is
// turned into the offline address it has from the page that asks for it;
// one without an offline page behind it is blocked.
class OfflineUrlInterceptor : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo &info) override;
};
