#include "BrowserForm.h"

#include <QAction>
#include <QDateTime>
#include <QMenu>
#include <QMessageBox>
#include <QWebEngineContextMenuRequest>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <cmath>

#include "AddressDragHandle.h"
#include "AddressNormalisation.h"
#include "EngineLibrary.h"
#include "FragmentLinks.h"
#include "StoredResource.h"
#include "TaskCreation.h"
#include "BrowserPage.h"
#include "BusMessages.h"
#include "KestProject.h"
#include "OfflineAddressText.h"
#include "ProgramOptions.h"

namespace {

const char *const kDownloadStates[] = {"Creating", "Connecting", "Reading", "Retrieved"};
constexpr uint32_t kRootFolder = 1;

}  // namespace

BrowserForm::BrowserForm(QWebEngineProfile *profile, KestProject &project, const ProgramOptions &options,
                         QWidget *parent)
    : QWidget(parent),
      project_(project),
      view_(new QWebEngineView(this)),
      page_(new BrowserPage(profile, project, options, view_)),
      address_(new QLineEdit(this)),
      status_(new QLabel(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    view_->setPage(page_);
    auto *bar = new QToolBar(this);
    bar->addAction(view_->pageAction(QWebEnginePage::Back));
    bar->addAction(view_->pageAction(QWebEnginePage::Forward));
    bar->addAction(view_->pageAction(QWebEnginePage::Stop));
    bar->addAction(view_->pageAction(QWebEnginePage::Reload));
    bar->addWidget(new AddressDragHandle([this] { return page_->url().isEmpty() ? QString() : shownAddress(); }, this));
    bar->addWidget(address_);
    bar->addAction(tr("Go"), this, &BrowserForm::go);
    connect(address_, &QLineEdit::returnPressed, this, &BrowserForm::go);
    buildCommands(bar);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, &BrowserForm::showContextMenu);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(view_, 1);
    layout->addWidget(status_);
    connect(page_, &BrowserPage::addressShown, address_, &QLineEdit::setText);
    connect(page_, &QWebEnginePage::titleChanged, this, [this](const QString &title) {
        title_ = wrappedAddress(title.isEmpty() ? page_->url().toString() : title);
        updateCaption();
    });
    connect(page_, &QWebEnginePage::linkHovered, status_, [this](const QString &link) { showLinkHint(link); });
    connect(page_, &QWebEnginePage::windowCloseRequested, this, [this, &options] {
        if (options.allowCloseFromScript) close();
    });
    connect(page_, &BrowserPage::newWindowRequested, this, [this](QWebEnginePage **page) {
        BrowserForm *form = nullptr;
        emit windowRequested(&form);
        if (form) *page = form->page();
    });
    MessageBus::instance().add(this, QStringLiteral("Browser"));
}

void BrowserForm::open(const QString &address, uint32_t number, const QDateTime &stamp) {
    const QString target = address.isEmpty() ? QStringLiteral("about:blank") : address;
    page_->load(QUrl(address.isEmpty() ? target : offlineAddress(target, number, stamp)));
}

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

void BrowserForm::showLinkHint(const QString &link) {
    if (link.isEmpty() || !isOfflineAddress(link)) {
        status_->setText(wrappedAddress(link));
        return;
    }
    const QString address = wrappedAddress(link);
    const auto resource = storedResource(address);
    status_->setText((resource ? resource->hint() : QStringLiteral("Not retrieved")) + QStringLiteral(", ") + address);
}

void BrowserForm::busMessage(int message, quintptr wParam, qintptr lParam) {
    if (message == bus::kProjectClosing) close();
    if (message == bus::kProgress && wParam >= 1 && wParam <= 4)
        showProgress(*reinterpret_cast<const EngDownloadProgressRecord *>(lParam));
}

void BrowserForm::showProgress(const EngDownloadProgressRecord &record) {
    const QString shown = wrappedAddress(page_->requestedDocument().toString(QUrl::FullyEncoded));
    if (QString::fromUtf8(record.url).compare(shown, Qt::CaseInsensitive) != 0) return;
    const double total = record.contentLength ? record.contentLength : record.received * 2.0 + 2;
    const long percent = std::lround(record.received / total * 100);
    const QString amount = record.contentLength
                               ? QStringLiteral("%1 of %2").arg(record.received).arg(record.contentLength)
                               : QString::number(record.received);
    status_->setText(QStringLiteral("%1%  %2, %3, %4")
                         .arg(percent)
                         .arg(QString::fromLatin1(kDownloadStates[record.state - 1]), amount, shown));
}

void BrowserForm::buildCommands(QToolBar *bar) {
    bar->addSeparator();
    QAction *task =
        bar->addAction(tr("Cr Task"), this, [this] { askAndCreateTask(this, project_, shownAddress(), kRootFolder); });
    task->setToolTip(tr("Create task on opened page "));
    bar->addAction(tr("Get All Links"), this,
                   [this] { reportTaskResult(this, project_.createTask(shownAddress(), 1, kRootFolder)); });
    auto *more = new QMenu(this);
    more->addAction(tr("Retrieve page from database"), page_, [this] { page_->triggerAction(QWebEnginePage::Reload); });
    more->addAction(tr("Retrieve page from internet"), this, &BrowserForm::refreshFromInternet);
    more->addAction(tr("Select As Default"), this, &BrowserForm::defaultRequested);
    more->addAction(tr("New Window"), this, &BrowserForm::newWindowRequested);
    more->addAction(tr("Close"), this, &QWidget::close);
    QAction *menu = bar->addAction(tr("Page"));
    menu->setMenu(more);
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
        [use](const QVariant &html) { use(html.toString()); });
}

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

void BrowserForm::updateCaption() {
    emit captionChanged((default_ ? QStringLiteral("(Default) ") : QString()) + title_);
}
