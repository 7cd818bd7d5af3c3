#include "BrowserProfile.h"

#include <QCoreApplication>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineUrlScheme>

#include "DownloadSaver.h"
#include "InfoSchemeHandler.h"
#include "KivSchemeHandler.h"
#include "OfflineUrlInterceptor.h"

void registerBrowserSchemes() {
    // "kiv" stays unregistered on purpose. A registered scheme is a standard
    // one to the browser engine, and a link "kiv:<key>:<stamp>:<task>:<address>"
    // inside a "kiv:" page then counts as relative to the page (as "http:x"
    // does in an http page), so the absolute offline addresses the handler
    // delivers would be mangled. Unregistered, "kiv:" addresses are opaque
    // and taken as written.
    QWebEngineUrlScheme info("qzinfo");
    info.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    info.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme |
                  QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(info);
}

QWebEngineProfile *browserProfile() {
    static QWebEngineProfile *profile = [] {
        auto *made = new QWebEngineProfile(QCoreApplication::instance());  // off the record
        made->installUrlSchemeHandler("kiv", new KivSchemeHandler(made));
        made->installUrlSchemeHandler("qzinfo", new InfoSchemeHandler(made));
        made->setUrlRequestInterceptor(new OfflineUrlInterceptor(made));
        QObject::connect(made, &QWebEngineProfile::downloadRequested, made, &saveDownload);
        return made;
    }();
    return profile;
}
