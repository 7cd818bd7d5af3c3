#include "DownloadProgress.h"

namespace {

QString text(const char *value) { return QString::fromUtf8(value ? value : ""); }

}  // namespace

DownloadProgress DownloadProgress::fromRecord(const EngDownloadProgressRecord &record) {
    // Copied out first: the packed record's fields are not aligned.
    const char *url = record.url, *postData = record.postData, *contentType = record.contentType;
    DownloadProgress progress;
    progress.resource = record.urlResId;
    progress.started = record.started;
    progress.state = record.state;
    progress.url = text(url);
    progress.formData = text(postData);
    progress.posted = !progress.formData.isEmpty();
    progress.contentType = text(contentType);
    progress.received = record.received;
    progress.contentLength = record.contentLength;
    progress.resumeOffset = record.resumeOffset;
    return progress;
}
