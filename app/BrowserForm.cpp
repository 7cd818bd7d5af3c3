#include "BrowserForm.h"

#include <cmath>

#include <QAction>
#include <QActionGroup>
#include <QCursor>
#include <QDateTime>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "AddressDragHandle.h"
#include "AddressNormalisation.h"
#include "BrowserPage.h"
#include "DownloadProgress.h"
#include "EngineLibrary.h"
#include "FragmentLinks.h"
#include "KestProject.h"
#include "LinkMarking.h"
#include "OfflineAddressText.h"
#include "PageCommands.h"
#include "PostedForms.h"
#include "ProgramOptions.h"
#include "ProgressPanel.h"
#include "StoredResource.h"
#include "TaskCreation.h"

namespace {

// The names of ENG_DOWNLOAD_CREATED to ENG_DOWNLOAD_FINISHED.
const char *const kDownloadStates[] = {"Creating", "Connecting", "Reading", "Retrieved"};

struct TextSize {
    const char *name;
    double zoom;
};
constexpr TextSize kTextSizes[] = {
    {"Largest", 1.5}, {"Large", 1.25}, {"Medium", 1.0}, {"Smaller", 0.9}, {"Smallest", 0.75}};

}  // namespace

BrowserForm::BrowserForm(QWebEngineProfile *profile, KestProject &project, const ProgramOptions &options,
                         QWidget *parent)
    : QWidget(parent),
      project_(project),
      options_(options),
      view_(new QWebEngineView(this)),
      page_(new BrowserPage(profile, project, options, view_)),
      bar_(new QToolBar(this)),
      address_(new QLineEdit(this)),
      statusLine_(new QWidget(this)),
      progress_(new ProgressPanel(statusLine_)),
      status_(new QLabel(statusLine_)) {
    setAttribute(Qt::WA_DeleteOnClose);
    view_->setPage(page_);
    buildToolBar();
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, &BrowserForm::showContextMenu);
    auto *statusLayout = new QHBoxLayout(statusLine_);
    statusLayout->setContentsMargins(2, 0, 2, 0);
    statusLayout->addWidget(progress_);
    statusLayout->addWidget(status_, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *menus = new QMenuBar(this);
    buildMenus(menus);
    layout->setMenuBar(menus);
    layout->addWidget(bar_);
    layout->addWidget(view_, 1);
    layout->addWidget(statusLine_);
    connect(page_, &BrowserPage::addressShown, address_, &QLineEdit::setText);
    connect(page_, &QWebEnginePage::titleChanged, this, [this](const QString &title) {
        title_ = wrappedAddress(title.isEmpty() ? page_->url().toString() : title);
        updateCaption();
    });
    connect(page_, &QWebEnginePage::linkHovered, status_, [this](const QString &link) { showLinkHint(link); });
    connect(page_, &QWebEnginePage::windowCloseRequested, this, [this] {
        if (options_.allowCloseFromScript) close();
    });
    connect(page_, &BrowserPage::windowWanted, this, [this](QWebEnginePage **page) {
        BrowserForm *form = nullptr;
        emit windowRequested(&form, docked());
        if (form) *page = form->page();
    });
    connect(page_, &QWebEnginePage::geometryChangeRequested, this, &BrowserForm::followGeometryRequest);
    connect(&project_, &KestProject::beforeClose, this, &QWidget::close);
    connect(&project_, &KestProject::downloadProgress, this, &BrowserForm::showProgress);
}

void BrowserForm::showPageAlone() {
    bar_->hide();
    statusLine_->hide();
    statusLineShown_->setChecked(false);
}

BrowserForm *BrowserForm::showing(QWebEnginePage *page) {
    QWebEngineView *view = page ? QWebEngineView::forPage(page) : nullptr;
    return view ? qobject_cast<BrowserForm *>(view->parentWidget()) : nullptr;
}

void BrowserForm::stepWith(QAction *back, QAction *forward) {
    followList(back_, back);
    followList(forward_, forward);
}

void BrowserForm::Step::showState() const {
    shown->setEnabled(listCommand ? listCommand->isEnabled() : history && history->isEnabled());
}

void BrowserForm::followList(Step &step, QAction *command) {
    if (step.listCommand == command) return;
    if (step.listCommand) disconnect(step.listCommand, nullptr, step.shown, nullptr);
    step.listCommand = command;
    // Enabled as the list's command is; the list gone, as the page's history is.
    const auto showState = [&step] { step.showState(); };
    connect(command, &QAction::changed, step.shown, showState);
    connect(command, &QObject::destroyed, step.shown, showState);
    step.showState();
}

void BrowserForm::addStep(Step &step, QWebEnginePage::WebAction history) {
    step.history = view_->pageAction(history);
    step.shown = bar_->addAction(step.history->icon(), step.history->text(), this, [this, &step, history] {
        if (step.listCommand)
            step.listCommand->trigger();
        else
            page_->triggerAction(history);
    });
    connect(step.history, &QAction::changed, step.shown, [&step] { step.showState(); });
    step.showState();
}

void BrowserForm::buildToolBar() {
    addStep(back_, QWebEnginePage::Back);
    addStep(forward_, QWebEnginePage::Forward);
    bar_->addAction(view_->pageAction(QWebEnginePage::Stop));
    bar_->addAction(view_->pageAction(QWebEnginePage::Reload));
    bar_->addWidget(new AddressDragHandle([this] { return pageAddress(); }, this));
    bar_->addWidget(address_);
    bar_->addAction(tr("Go"), this, &BrowserForm::go);
    connect(address_, &QLineEdit::returnPressed, this, &BrowserForm::go);
    bar_->addSeparator();
    QAction *task =
        bar_->addAction(tr("Cr Task"), this, [this] { askAndCreateTask(this, project_, shownAddress(), kRootFolder); });
    task->setToolTip(tr("Create task on opened page "));
    bar_->addAction(tr("Get All Links"), this,
                    [this] { reportTaskResult(this, project_.createTask(shownAddress(), 1, kRootFolder)); });
}

void BrowserForm::buildMenus(QMenuBar *menus) {
    QMenu *file = menus->addMenu(tr("&File"));
    file->addAction(tr("Open..."), this, &BrowserForm::openTyped);
    file->addAction(tr("New Window"), this, &BrowserForm::newWindowRequested);
    file->addAction(tr("Save As ..."), this, [this] { page_commands::saveAs(*view_); });
    file->addAction(tr("Print"), this, [this] { page_commands::print(*view_); });
    file->addSeparator();
    file->addAction(tr("Close"), this, &QWidget::close);

    QMenu *edit = menus->addMenu(tr("&Edit"));
    for (auto action : {QWebEnginePage::Cut, QWebEnginePage::Copy, QWebEnginePage::Paste, QWebEnginePage::SelectAll})
        edit->addAction(view_->pageAction(action));
    edit->addSeparator();
    QAction *find = edit->addAction(tr("Find (on this page)"), this, [this] { page_commands::find(*view_); });
    find->setShortcut(QKeySequence::Find);

    QMenu *view = menus->addMenu(tr("&View"));
    QAction *toolbar = bar_->toggleViewAction();
    toolbar->setText(tr("Toolbar"));
    view->addAction(toolbar);
    statusLineShown_ = view->addAction(tr("Status Bar"), statusLine_, &QWidget::setVisible);
    statusLineShown_->setCheckable(true);
    statusLineShown_->setChecked(true);
    QMenu *sizes = view->addMenu(tr("Text Size"));
    auto *sizeGroup = new QActionGroup(sizes);
    for (const auto &[name, factor] : kTextSizes) {
        QAction *size = sizes->addAction(tr(name), this, [this, zoom = factor] { view_->setZoomFactor(zoom); });
        size->setCheckable(true);
        size->setChecked(factor == 1.0);
        sizeGroup->addAction(size);
    }
    view->addAction(view_->pageAction(QWebEnginePage::ViewSource));
    view->addSeparator();
    view->addAction(tr("Dock/Undock"), this, &BrowserForm::dockToggleRequested);

    QMenu *page = menus->addMenu(tr("&Page"));
    page->addAction(tr("Retrieve page from database"), page_, &BrowserPage::reloadFromStore);
    page->addAction(tr("Retrieve page from internet"), this, &BrowserForm::refreshFromInternet);
    page->addAction(tr("Select As Default"), this, &BrowserForm::defaultRequested);
}

void BrowserForm::open(const QString &address, uint32_t number, const QDateTime &stamp, const QString &formData) {
    if (address.isEmpty()) return page_->load(QUrl(QStringLiteral("about:blank")));
    const QUrl target(offlineAddress(address, number, stamp));
    // The form data waits for the offline handler, which takes it with the request.
    if (!formData.isEmpty()) PostedForms::instance().openWith(target.toString(QUrl::FullyEncoded), formData.toLatin1());
    page_->load(target);
}

void BrowserForm::navigate(const QUrl &page) { page_->load(page); }

void BrowserForm::go() {
    const QString address = normalisedAddress(address_->text());
    if (address.isEmpty()) {
        QMessageBox::information(this, QStringLiteral("Sitelark"),
                                 QStringLiteral("Can't open the URL: ") + address_->text());
        return;
    }
    // Going from a shown page to an address the project lacks makes a task for it.
    uint32_t number = 0;
    if (isOfflineAddress(page_->url().toString()) && shownAddress() != address && !storedResource(address)) {
        const int task = project_.createTask(address, 1, kRootFolder);
        if (reportTaskResult(this, task)) number = static_cast<uint32_t>(task);
    }
    open(address, number, QDateTime::currentDateTime());
}

void BrowserForm::openTyped() {
    bool ok = false;
    const QString typed = QInputDialog::getText(this, tr("Open"), tr("Type the address of a page to open:"),
                                                QLineEdit::Normal, address_->text(), &ok);
    if (!ok) return;
    address_->setText(typed);
    go();
}

void BrowserForm::showLinkHint(const QString &link) {
    if (!linkHints_) return;
    if (link.isEmpty() || !isOfflineAddress(link)) {
        status_->setText(wrappedAddress(link));
        return;
    }
    const QString address = wrappedAddress(link);
    const auto resource = storedResource(address);
    const QString state = resource ? resource->hint() : QStringLiteral("Not retrieved");
    const QString title = resource ? resource->title : QString();
    status_->setText(state + (title.isEmpty() ? QString() : QStringLiteral(", \"%1\"").arg(title)) +
                     QStringLiteral(", ") + address);
    const LinkMark mark{resource.has_value(),
                        state + QStringLiteral(" ( ") + (title.isEmpty() ? address : title) + QStringLiteral(" )")};
    markLinkAt(*page_, view_->mapFromGlobal(QCursor::pos()), mark, options_);
}

QString BrowserForm::statusText() const { return status_->text(); }

void BrowserForm::showProgress(const DownloadProgress &progress) {
    if (progress.state < ENG_DOWNLOAD_CREATED || progress.state > ENG_DOWNLOAD_FINISHED) return;
    const QString shown = wrappedAddress(page_->requestedDocument().toString(QUrl::FullyEncoded));
    if (progress.url.compare(shown, Qt::CaseInsensitive) != 0) return;
    if (progress.posted) return;  // the same address posted is another page
    // Hints would overwrite the progress: they come back when the download ends.
    linkHints_ = progress.state == ENG_DOWNLOAD_FINISHED;
    const double total = progress.contentLength ? progress.contentLength : progress.received * 2.0 + 2;
    progress_->setPercent(static_cast<int>(std::lround(progress.received / total * 100)));
    const QString amount = progress.contentLength
                               ? QStringLiteral("%1 of %2").arg(progress.received).arg(progress.contentLength)
                               : QString::number(progress.received);
    const char *state = kDownloadStates[progress.state - ENG_DOWNLOAD_CREATED];
    status_->setText(QStringLiteral("%1, %2, %3").arg(QString::fromLatin1(state), amount, shown));
}

void BrowserForm::followGeometryRequest(const QRect &geometry) {
    if (docked()) {
        // Deferred, so that the script's request is answered before the window changes.
        requestedGeometry_ = geometry;
        QMetaObject::invokeMethod(this, &BrowserForm::applyRequestedGeometry, Qt::QueuedConnection);
        return;
    }
    const QSize frame = size() - view_->size();  // menus, bars and status line around the page
    move(geometry.topLeft());
    resize(geometry.size() + frame);
}

void BrowserForm::applyRequestedGeometry() {
    if (!docked() || !options_.autoUnDock) return;
    emit dockToggleRequested();
    if (!docked()) followGeometryRequest(requestedGeometry_);
}

void BrowserForm::closeEvent(QCloseEvent *event) {
    page_->setClosing();
    QWidget::closeEvent(event);
}

void BrowserForm::showContextMenu(const QPoint &at) {
    QMenu *menu = view_->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QWebEngineContextMenuRequest *request = view_->lastContextMenuRequest();
    const QString target = (request->linkUrl().isValid() ? request->linkUrl() : request->mediaUrl()).toString();
    menu->addSeparator();
    if (isOfflineAddress(target)) {
        menu->addAction(tr("Enqueue Target"), this, [this, target] { enqueueLinks(this, project_, {target}); });
        menu->addAction(tr("Create Task"), this,
                        [this, target] { askAndCreateTask(this, project_, wrappedAddress(target), kRootFolder); });
    }
    if (!request->selectedText().isEmpty()) {
        const QString document = page_->url().toString(QUrl::FullyEncoded);
        menu->addAction(tr("Enqueue all links in selected text"), this, [this, document] {
            withSelectedHtml(
                [this, document](const QString &html) { enqueueLinks(this, project_, fragmentLinks(document, html)); });
        });
        menu->addAction(tr("Create task(s) for all links in selected text"), this, [this, document] {
            withSelectedHtml([this, document](const QString &html) {
                createTasksForLinks(this, project_, fragmentLinks(document, html));
            });
        });
    }
    menu->popup(view_->mapToGlobal(at));
}

void BrowserForm::withSelectedHtml(const std::function<void(const QString &)> &use) {
    page_->runJavaScript(
        QStringLiteral("(function () { var s = window.getSelection(), d = document.createElement('div');"
                       " for (var i = 0; i < s.rangeCount; ++i) d.appendChild(s.getRangeAt(i).cloneContents());"
                       " return d.innerHTML; })()"),
        QWebEngineScript::ApplicationWorld, [use](const QVariant &html) { use(html.toString()); });
}

QString BrowserForm::pageAddress() const { return page_->url().isEmpty() ? QString() : shownAddress(); }

QString BrowserForm::shownAddress() const { return wrappedAddress(page_->url().toString(QUrl::FullyEncoded)); }

void BrowserForm::refreshFromInternet() {
    if (const auto resource = storedResource(shownAddress()); resource && resource->done)
        engine().Eng_RefreshUrlRes(resource->id);
    page_->triggerAction(QWebEnginePage::Reload);
}

void BrowserForm::setDefault(bool isDefault) {
    default_ = isDefault;
    updateCaption();
}

void BrowserForm::updateCaption() { emit captionChanged(); }

QString BrowserForm::caption() const {
    return (default_ ? QStringLiteral("(Default) ") : QString()) + (title_.isEmpty() ? tr("Browser") : title_);
}
