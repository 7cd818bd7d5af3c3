#include "BrowserForm.h"

#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineView>
#include <cmath>

#include "AddressNormalisation.h"
#include "BrowserPage.h"
#include "BusMessages.h"
#include "EngineDate.h"
#include "KestProject.h"
#include "OfflineAddressText.h"
#include "ProgramOptions.h"

namespace {

const char *const kDownloadStates[] = {"Creating", "Connecting", "Reading", "Retrieved"};

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
    bar->addWidget(address_);
    bar->addAction(tr("Go"), this, &BrowserForm::go);
    connect(address_, &QLineEdit::returnPressed, this, &BrowserForm::go);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(view_, 1);
    layout->addWidget(status_);
    connect(page_, &BrowserPage::addressShown, address_, &QLineEdit::setText);
    connect(page_, &QWebEnginePage::titleChanged, this, [this](const QString &title) {
        emit captionChanged(title.isEmpty() ? wrappedAddress(page_->url().toString()) : wrappedAddress(title));
    });
    connect(page_, &QWebEnginePage::linkHovered, status_,
            [this](const QString &link) { status_->setText(wrappedAddress(link)); });
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
        status_->setText(QStringLiteral("Can't open the URL: ") + address_->text());
        return;
    }
    open(address, 0, QDateTime::currentDateTime());
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
