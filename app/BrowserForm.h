#pragma once

#include <QWidget>
#include <functional>

#include "MessageBus.h"
#include "engine.h"

class BrowserPage;
class KestProject;
class QLabel;
class QLineEdit;
class QToolBar;
class QWebEngineProfile;
class QWebEngineView;
struct ProgramOptions;

// A browser window: the stored copy of the project shown through offline
// addresses, with its own address bar and status line. It closes with the
// project.
class BrowserForm : public QWidget, public BusWindow {
    Q_OBJECT

public:
    BrowserForm(QWebEngineProfile *profile, KestProject &project, const ProgramOptions &options,
                QWidget *parent = nullptr);

    // Shows the address (empty: a blank page) as stored at the stamp.
    void open(const QString &address, uint32_t number, const QDateTime &stamp);
    QWebEngineView *view() const { return view_; }
    BrowserPage *page() const { return page_; }

    void busMessage(int message, quintptr wParam, qintptr lParam) override;

    // The default browser's caption starts with "(Default) ".
    void setDefault(bool isDefault);

signals:
    // A page asks for a window of its own.
    void windowRequested(BrowserForm **form);
    void captionChanged(const QString &caption);
    void defaultRequested();
    void newWindowRequested();

private:
    void go();
    void buildCommands(QToolBar *bar);
    void showContextMenu(const QPoint &at);
    // Calls back with the HTML of the page's selection (empty without one).
    void withSelectedHtml(const std::function<void(const QString &)> &use);
    QString shownAddress() const;
    void refreshFromInternet();
    // The status line for a link under the mouse: what the project holds of it.
    void showLinkHint(const QString &link);
    void updateCaption();
    void showProgress(const EngDownloadProgressRecord &record);

    KestProject &project_;
    QWebEngineView *view_;
    BrowserPage *page_;
    QLineEdit *address_;
    QLabel *status_;
    QString title_;
    bool default_ = false;
};
