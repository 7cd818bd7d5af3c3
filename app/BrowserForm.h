#pragma once

#include <cstdint>
#include <functional>

#include <QPointer>
#include <QRect>
#include <QWebEnginePage>
#include <QWidget>

class BrowserPage;
class KestProject;
struct DownloadProgress;
class ProgressPanel;
class QLabel;
class QLineEdit;
class QMenuBar;
class QAction;
class QToolBar;

class QWebEngineProfile;
class QWebEngineView;
struct ProgramOptions;

// A browser window: the stored copy of the project shown through offline
// addresses, with its own menus, address bar and status line. It is docked
// as a page of the main window or a window of its own, and closes with the
// project.
class BrowserForm : public QWidget {
    Q_OBJECT

public:
    BrowserForm(QWebEngineProfile *profile, KestProject &project, const ProgramOptions &options,
                QWidget *parent = nullptr);

    // Shows the address (empty: a blank page) as stored at the stamp.
    // A page fetched with form data (one character per byte) is posted it again.
    void open(const QString &address, uint32_t number, const QDateTime &stamp, const QString &formData = {});
    // Shows one of the program's own pages ("qzinfo:").
    void navigate(const QUrl &page);
    QWebEngineView *view() const { return view_; }
    BrowserPage *page() const { return page_; }
    ProgressPanel *progressPanel() const { return progress_; }
    // The address of the page shown (unwrapped); empty before the first.
    QString pageAddress() const;
    QString statusText() const;
    // A page of the main window rather than a window of its own.
    bool docked() const { return !isWindow(); }
    // The program's reports show the page alone: no address bar, no status bar
    // (the View menu can show them again).
    void showPageAlone();
    // The browser window that shows the page; null for a page of no browser window.
    static BrowserForm *showing(QWebEnginePage *page);
    // Back and Forward step through a list of files with the list's own
    // commands while it exists (the page's history again once it is gone).
    void stepWith(QAction *back, QAction *forward);

    // The default browser's caption starts with "(Default) ".
    void setDefault(bool isDefault);
    // The page's title, as the window or its tab shows it.
    QString caption() const;

signals:
    // A page asks for a window of its own; docked as this one is.
    void windowRequested(BrowserForm **form, bool docked);
    void captionChanged();
    void defaultRequested();
    void newWindowRequested();
    // Dock a free window, or make a docked one a window of its own.
    void dockToggleRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void go();
    void openTyped();
    void buildToolBar();
    struct Step;
    // Back or Forward on the toolbar.
    void addStep(Step &step, QWebEnginePage::WebAction history);
    void followList(Step &step, QAction *command);
    void buildMenus(QMenuBar *menus);
    void showContextMenu(const QPoint &at);
    // Calls back with the HTML of the page's selection (empty without one).
    void withSelectedHtml(const std::function<void(const QString &)> &use);
    QString shownAddress() const;
    void refreshFromInternet();
    // The status line for a link under the mouse: what the project holds of it.
    void showLinkHint(const QString &link);
    void updateCaption();
    // The progress of the shown page's download; others' are not shown.
    void showProgress(const DownloadProgress &progress);
    // A page script moves or resizes its window.
    void followGeometryRequest(const QRect &geometry);
    void applyRequestedGeometry();

    KestProject &project_;
    const ProgramOptions &options_;
    QWebEngineView *view_;
    BrowserPage *page_;
    QToolBar *bar_;
    QLineEdit *address_;
    QWidget *statusLine_;
    // Back and Forward, each the list's command when one is given, else the page's history.
    struct Step {
        QAction *shown;
        QPointer<QAction> history;      // the page's own
        QPointer<QAction> listCommand;  // while the list exists
        // Enabled as what it runs is.
        void showState() const;
    };
    Step back_{}, forward_{};
    QAction *statusLineShown_ = nullptr;
    ProgressPanel *progress_;
    QLabel *status_;
    QString title_;
    QRect requestedGeometry_;  // asked for by a script while docked
    bool linkHints_ = true;    // off while the shown page downloads
    bool default_ = false;
};
