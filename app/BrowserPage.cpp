#include "BrowserPage.h"

#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

#include "AddressNormalisation.h"
#include "BrowserPages.h"
#include "EngineLibrary.h"
#include "KestProject.h"
#include "OfflineAddressText.h"
#include "ProgramOptions.h"
#include "StoredResource.h"
#include "TaskCreation.h"

BrowserPage::BrowserPage(QWebEngineProfile *profile, KestProject &project, const ProgramOptions &options,
                         QObject *parent)
    : QWebEnginePage(profile, parent), project_(project), options_(options), external_(*this, project), forms_(*this) {
    BrowserPages::instance().add(this);
    installExternal();
    connect(this, &QWebEnginePage::newWindowRequested, this, &BrowserPage::answerWindowRequest);
}

BrowserPage::~BrowserPage() { BrowserPages::instance().remove(this); }

bool BrowserPage::ownPage() const {
    return url().scheme() == QStringLiteral("qzinfo") || (!statusDocument_.isEmpty() && url() == statusDocument_);
}

void BrowserPage::documentAnswered(const QUrl &url, bool statusPage) {
    if (statusPage)
        statusDocument_ = url;
    else if (url == statusDocument_)
        statusDocument_.clear();
}

void BrowserPage::reloadFromStore() {
    storeReload_ = true;
    triggerAction(Reload);
}

bool BrowserPage::takeRefresh(const QUrl &url) {
    if (refreshed_.isEmpty() || url != refreshed_) return false;
    refreshed_.clear();
    return true;
}

QWidget *BrowserPage::viewWidget() const { return QWebEngineView::forPage(this); }

void BrowserPage::installExternal() {
    channel_.registerObject(QStringLiteral("external"), &external_);
    channel_.registerObject(QStringLiteral("forms"), &forms_);
    setWebChannel(&channel_);
    QFile api(QStringLiteral(":/qtwebchannel/qwebchannel.js")), forms(QStringLiteral(":/pages/formposting.js"));
    api.open(QIODevice::ReadOnly);
    forms.open(QIODevice::ReadOnly);
    QWebEngineScript script;
    script.setName(QStringLiteral("external"));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(false);
    script.setSourceCode(QString::fromUtf8(api.readAll()) + QStringLiteral("\n(function () {\n") +
                         QString::fromUtf8(forms.readAll()) +
                         QStringLiteral("\nnew QWebChannel(qt.webChannelTransport, function (channel) {"
                                        " window.external = channel.objects.external;"
                                        " postFormsThrough(channel.objects.forms); });\n})();"));
    scripts().insert(script);
}

bool BrowserPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) {
    if (url.scheme() == QStringLiteral("kiv")) return acceptOffline(url, type, isMainFrame);
    if (url.scheme() == QStringLiteral("qzinfo")) return true;
    const QString address = normalisedAddress(url.toString());
    if (address.isEmpty()) return true;  // about:, data: and the like
    if (address.startsWith(QStringLiteral("http"))) {
        const QUrl offline(offlineAddress(address, 0, QDateTime::currentDateTime()));
        QTimer::singleShot(0, this, [this, offline] { load(offline); });
    } else {
        QMessageBox::critical(viewWidget(), QStringLiteral("Sitelark"),
                              QStringLiteral("Can't open the URL: ") + address);
    }
    return false;
}

bool BrowserPage::acceptOffline(const QUrl &url, NavigationType type, bool isMainFrame) {
    const QString offline = url.toString(QUrl::FullyEncoded);
    const QString address = wrappedAddress(offline);
    engine().Eng_BeforeNavigate(address.toUtf8().constData(), "");
    if (!isMainFrame) return true;
    // A script's location.reload() comes as a redirect to the document shown.
    const bool refresh = type == NavigationTypeReload || (type == NavigationTypeRedirect && url == this->url());
    refreshed_ = refresh && !storeReload_ ? url : QUrl();
    storeReload_ = false;
    if (type == NavigationTypeLinkClicked) makeTaskForShiftedLink(url);
    requestedDocument_ = url;
    emit addressShown(address);
    if (project_.running() || type != NavigationTypeLinkClicked || storedResource(address)) return true;
    const auto answer = QMessageBox::question(
        viewWidget(), QStringLiteral("Sitelark"),
        QStringLiteral(
            "The page you are trying to access is not available offline.\r\nDo you want to enqueue this URL?"),
        QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes) project_.createUrlRes(offline, QString(), offlineNumber(offline));
    return false;
}

void BrowserPage::makeTaskForShiftedLink(const QUrl &url) {
    const QString link = url.toString(QUrl::FullyEncoded);
    if (!(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) || !isOfflineAddress(link)) return;
    const QString address = wrappedAddress(link);
    if (project_.findTasks(address)) return;
    reportTaskResult(viewWidget(), project_.createTask(address, 1, kRootFolder));
}

void BrowserPage::answerWindowRequest(QWebEngineNewWindowRequest &request) {
    if (closing_ && !options_.allowNewWinAtClosing) return;
    if (request.isUserInitiated()) makeTaskForShiftedLink(request.requestedUrl());
    if (!options_.allowOpenInNewWin && !request.isUserInitiated()) return;
    QWebEnginePage *page = nullptr;
    emit windowWanted(&page);
    if (page) request.openIn(page);
}
