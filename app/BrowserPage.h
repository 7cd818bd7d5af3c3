#pragma once

#include <QUrl>
#include <QWebChannel>
#include <QWebEnginePage>

#include "External.h"
#include "FormPoster.h"

class KestProject;
struct ProgramOptions;

// A browser window's page: every navigation it is about to make is turned
// into an offline address and told to the engine first; pages get the
// channel to window.external, which answers only while the document shown
// is the program's own, and to the forms object, which sends the forms of
// stored pages with their bodies.
class BrowserPage : public QWebEnginePage {
    Q_OBJECT

public:
    BrowserPage(QWebEngineProfile *profile, KestProject &project, const ProgramOptions &options, QObject *parent);
    ~BrowserPage() override;

    // The offline address of the last document the page asked for.
    const QUrl &requestedDocument() const { return requestedDocument_; }
    // Whether the document shown now is one of the program's own pages: a
    // "qzinfo:" page, or the status page the handler answered for the
    // address shown. It asks the committed address, so a stored document
    // that is still shown while another one loads never counts.
    bool ownPage() const;
    // The view that shows the page, for dialogs about it.
    QWidget *viewWidget() const;
    // The handler answered a main document: with a status page (true) or content.
    void documentAnswered(const QUrl &url, bool statusPage);
    // The window is closing: its page may open windows only if the options allow it then.
    void setClosing() { closing_ = true; }
    // Shows the document again as it is stored, without asking for a fresh copy.
    void reloadFromStore();
    // Whether the request for the document is the user's Refresh of it (a
    // reload, or a script reloading the document shown); asked once.
    bool takeRefresh(const QUrl &url);

signals:
    // The wrapped address of a top-level navigation, for the address bar.
    void addressShown(const QString &address);
    // A page may have a new window; the receiver sets the page to load into.
    void windowWanted(QWebEnginePage **page);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;

private:
    bool acceptOffline(const QUrl &url, NavigationType type, bool isMainFrame);
    void installExternal();
    // A link followed with Shift held becomes a task, unless one exists for it.
    void makeTaskForShiftedLink(const QUrl &url);
    // A page asks for a new window: granted while the options allow it.
    void answerWindowRequest(QWebEngineNewWindowRequest &request);

    KestProject &project_;
    const ProgramOptions &options_;
    External external_;
    FormPoster forms_;
    QWebChannel channel_;
    QUrl requestedDocument_;
    QUrl statusDocument_;  // the address last answered with a status page
    QUrl refreshed_;       // the document whose next request asks for a fresh copy
    bool storeReload_ = false;
    bool closing_ = false;
};
