#include "net/DownloadJob.h"

#include <cerrno>
#include <system_error>

#include "base/HtmlScanner.h"
#include "base/StyleSheetScanner.h"
#include "net/ProgressSink.h"
#include "sys/InternetErrors.h"
#include "sys/WorkerThreads.h"

namespace eng {

DownloadJob::DownloadJob(JobContext context) : context_(std::move(context)) {}

bool DownloadJob::start(WorkerThreads &threads) {
    try {
        threads.run([job = shared_from_this()] { job->work(); });
    } catch (const std::system_error &) {
        record_.state = DownloadRecord::ThreadFailed;
        return false;
    }
    {
        std::lock_guard guard(lock_);
        record_.state = DownloadRecord::ThreadStarted;
        record_.started = now();
    }
    reportProgress();
    go_.count_down();
    return true;
}

void DownloadJob::work() {
    go_.wait();
    if (openSession()) {
        run();
        finish();
        close();
    }
    scanBody();
    reportEnd(!markFinished());
}

void DownloadJob::scanBody() {
    const std::string &type = record_.contentType;
    const bool page = isHtmlType(type);
    // The engine puts a page of its own in place of a redirect's body.
    if (!record_.location.empty() || record_.bodyTooLarge || cancelled() || !(page || isStyleSheetType(type))) return;
    ScannedBody scanned;
    try {
        const std::string text = record_.body.text(kPageScanLimit);
        scanned.links = extractBodyLinks(record_.url, text, type).links;
        if (page) {
            scanned.title = pageTitle(text, type);
            scanned.refresh = refreshTarget(linkBase(record_.url, text), text);
        }
    } catch (const std::exception &) {
        return;  // a body that cannot be read back is left to the engine, which reports it
    }
    whileRunning([&] { record_.scanned = std::move(scanned); });
}

bool DownloadJob::markFinished() {
    std::lock_guard guard(lock_);
    if (record_.state == DownloadRecord::Finished) return false;
    record_.state = DownloadRecord::Finished;
    return true;
}

bool DownloadJob::abort(uint32_t reason) {
    std::lock_guard guard(lock_);
    record_.aborted = reason;
    if (record_.state == DownloadRecord::Finished) return false;
    record_.errorCode = kErrOperationCancelled;
    interrupt();
    record_.state = DownloadRecord::Finished;
    reportEnd(false);
    return true;
}

void DownloadJob::reportProgress() {
    if (context_.progress) context_.progress->report(record_);
}

void DownloadJob::recordError(uint32_t code) {
    uint32_t current = record_.errorCode.load();
    while (current != kErrOperationCancelled && !record_.errorCode.compare_exchange_weak(current, code)) {
    }
}

bool DownloadJob::cancelled() const { return record_.errorCode.load() == kErrOperationCancelled; }

void DownloadJob::resetBody() {
    whileRunning([this] {
        record_.body.clear();
        record_.contentLength = 0;
        record_.received = 0;
        record_.lastChunk = 0;
    });
}

bool DownloadJob::appendChunk(const uint8_t *bytes, size_t count) {
    bool kept = false;
    const bool running = whileRunning([&] {
        record_.received += count;
        record_.lastChunk = static_cast<uint32_t>(count);
        if (record_.storedBefore() + record_.received > record_.bodyLimit) return dropTooLargeBody();
        try {
            record_.body.append({bytes, count});
            kept = true;
        } catch (const std::system_error &failure) {
            recordError(static_cast<uint32_t>(failure.code().value()));
        }
    });
    if (running) reportProgress();
    return kept;
}

void DownloadJob::dropTooLargeBody() {
    record_.bodyTooLarge = true;
    record_.body.clear();
    recordError(EFBIG);
}

}  // namespace eng
