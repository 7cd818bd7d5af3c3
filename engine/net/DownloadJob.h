#pragma once

#include <cstdint>
#include <latch>
#include <memory>
#include <mutex>

#include "net/CredentialsPrompt.h"
#include "net/DownloadRecord.h"

namespace eng {

class MessageQueue;
class ProgressSink;

// What a job needs from the engine: the queue of the engine thread that its
// end is posted to, where progress goes, and who is asked for credentials.
struct JobContext {
    std::shared_ptr<MessageQueue> engineQueue;
    std::shared_ptr<ProgressSink> progress;
    CredentialsPrompt prompt;
};

// One retrieval on a worker thread of its own. The engine thread creates the
// job, fills its record, starts it and destroys it; the worker thread opens,
// runs, finishes and closes, then posts the download-done message with the
// job as lParam: wParam 0 when the record holds a result, 1 when the job had
// been aborted (the abort itself posted the result). The worker thread keeps
// the job alive until it ends, so the engine may drop a job whose thread is
// still blocked.
class DownloadJob : public std::enable_shared_from_this<DownloadJob> {
public:
    explicit DownloadJob(JobContext context);
    DownloadJob(const DownloadJob &) = delete;
    DownloadJob &operator=(const DownloadJob &) = delete;
    virtual ~DownloadJob() = default;

    DownloadRecord &record() { return record_; }
    const DownloadRecord &record() const { return record_; }

    // Creates the worker thread; false (state 5) when it could not be created.
    bool start();
    // Aborts the retrieval for the given reason; true when this posted the
    // job's result (the job had not finished yet). The worker thread may still
    // be winding down then: until its thread-ended message, the engine reads
    // only the record's URL resource id, aborted reason and error code.
    virtual bool abort(uint32_t reason);
    // Posts the record's progress to the engine's reporter.
    void reportProgress();

protected:
    virtual bool openSession() = 0;
    virtual void run() = 0;
    virtual void finish() {}
    virtual void close() {}
    // Called by abort under the job's lock while the job still runs: makes
    // the worker's blocking calls return at once.
    virtual void interrupt() {}

    // Records an error unless the retrieval has been cancelled.
    void recordError(uint32_t code);
    bool cancelled() const;
    // Truncates the body and zeroes the content length and the byte counts.
    void resetBody();
    // Appends a chunk, with received, last chunk and progress updated; false
    // when the job has been aborted meanwhile, when the body went past its
    // limit (it is dropped then) or when it could not be kept (the error is
    // recorded): the retrieval reads no further.
    bool appendChunk(const uint8_t *bytes, size_t count);
    // Changes the record's results under the job's lock, unless an abort has
    // already handed the record to the engine (false then): from that moment
    // the worker leaves what the engine reads untouched.
    template <class Write>
    bool whileRunning(Write write) {
        std::lock_guard guard(lock_);
        if (record_.state == DownloadRecord::Finished) return false;
        write();
        return true;
    }
    const CredentialsPrompt &prompt() const { return context_.prompt; }

    DownloadRecord record_;
    std::mutex lock_;

private:
    void work();
    // Sets state 4 under the lock unless an abort already did; true when it did.
    bool markFinished();
    // Under the lock: marks the body as too large, with the error "File too
    // large", and frees it.
    void dropTooLargeBody();
    void postDone(uintptr_t wParam);

    JobContext context_;
    std::latch go_{1};
};

}  // namespace eng
