#include "KivJob.h"

#include <QBuffer>
#include <QMetaObject>
#include <QWebEngineUrlRequestJob>

#include "BrowserPages.h"
#include "PostedForms.h"

KivJob::KivJob(QWebEngineUrlRequestJob *job)
    : QObject(job), job_(job), handler_(Kiv_CreateHandler()), sink_(sinkFor(this)) {}

KivJob::~KivJob() {
    if (!handler_) return;
    Kiv_Abort(handler_);
    Kiv_ReleaseHandler(handler_);
}

KivSink KivJob::sinkFor(KivJob *job) {
    return KivSink{job,
                   [](void *self, uint32_t status, const char *text) {
                       auto *kivJob = static_cast<KivJob *>(self);
                       if (status == KIV_STATUS_REDIRECTING) kivJob->redirect_ = QString::fromUtf8(text);
                       if (status == KIV_STATUS_MIMETYPE_AVAILABLE) kivJob->mimeType_ = QString::fromUtf8(text);
                       if (status == KIV_STATUS_STATUS_PAGE) kivJob->statusPage_ = true;
                   },
                   nullptr,
                   [](void *self, int32_t result, uint32_t) {
                       auto *kivJob = static_cast<KivJob *>(self);
                       QMetaObject::invokeMethod(
                           kivJob, [kivJob, result] { kivJob->finished(result); }, Qt::QueuedConnection);
                   }};
}

void KivJob::start() {
    const QByteArray address = job_->requestUrl().toString(QUrl::FullyEncoded).toUtf8();
    const uint32_t flags = BrowserPages::instance().takeRefresh(job_->requestUrl()) ? KIV_BIND_RESYNCHRONIZE : 0;
    PostedForms &forms = PostedForms::instance();
    QByteArray posted = forms.takeOpened(QString::fromUtf8(address));
    if (posted.isEmpty() && job_->requestMethod() == "POST") posted = forms.bodyFor(QString::fromUtf8(address));
    if (!handler_ || Kiv_Start(handler_, address.constData(), flags, posted.isEmpty() ? nullptr : posted.constData(),
                               static_cast<uint32_t>(posted.size()), &sink_) != KIV_S_OK)
        job_->fail(QWebEngineUrlRequestJob::UrlInvalid);
}

void KivJob::finished(int32_t result) {
    if (result != KIV_S_OK) return job_->fail(QWebEngineUrlRequestJob::RequestFailed);
    BrowserPages::instance().documentAnswered(job_->requestUrl(), statusPage_);
    if (!redirect_.isEmpty()) return job_->redirect(QUrl(redirect_));
    QByteArray data;
    char buffer[65536];
    uint32_t read = 0;
    while (Kiv_Read(handler_, buffer, sizeof buffer, &read) == KIV_S_OK) data.append(buffer, read);
    auto *device = new QBuffer(job_);
    device->setData(data);
    job_->reply(mimeType_.toUtf8(), device);
}
