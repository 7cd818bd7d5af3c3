#include "core/DownloadProgressReporter.h"

#include "core/ProgressCounters.h"
#include "engine.h"
#include "net/DownloadRecord.h"

namespace eng {

DownloadProgressReporter::DownloadProgressReporter(ProgressCounters &counters, const Notifier &notifier)
    : counters_(&counters), notifier_(notifier) {}

void DownloadProgressReporter::disconnect() {
    std::lock_guard guard(lock_);
    counters_ = nullptr;
}

void DownloadProgressReporter::report(const DownloadRecord &record) {
    if (record.urlResId == 0) return;
    std::lock_guard guard(lock_);
    if (!counters_) return;
    const bool receiving = record.state == DownloadRecord::Receiving;
    if (receiving) counters_->addReceived(record.lastChunk, true);
    notifier_.post(ENG_NOTIFY_PROGRESS, [&record](MemoryStream &out) {
        EngDownloadProgressRecord progress{};
        progress.urlResId = record.urlResId;
        progress.started = record.started;
        progress.url = out.newString(record.url);
        progress.postData = out.newString(record.postData);
        progress.contentType = out.newString(record.contentType);
        progress.state = static_cast<uint8_t>(record.state);
        progress.lastChunk = record.lastChunk;
        progress.received = clampedCount(record.received);
        progress.contentLength = clampedCount(record.contentLength);
        progress.resumeOffset = clampedCount(record.resumeOffset);
        out.writeRecord(progress);
    });
}

}  // namespace eng
