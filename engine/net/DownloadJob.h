#pragma once

#include <cstdint>
#include <functional>
#include <latch>
#include <memory>
#include <mutex>

#include "net/CredentialsPrompt.h"
#include "net/DownloadRecord.h"

namespace eng {

class DownloadJob;
class ProgressSink;
class WorkerThreads;

// How a job's end reaches the engine thread: the job, and whether it had been
// aborted (the abort itself handed over the result then). Called on the
// worker thread, or on the engine thread when an abort or a failed start ends
// the job.
using JobEnded = std::function<void(DownloadJob &job, bool aborted)>;

// What a job needs from the engine: where its end is reported, where
// progress goes, and who is asked for credentials.
struct JobContext {
    JobEnded ended;
    std::shared_ptr<ProgressSink> progress;
    CredentialsPrompt prompt;
};

// One retrieval on a worker thread of its pool. The engine thread creates the
// job, fills its record, starts it and destroys it; the worker thread opens,
// runs, finishes and closes, then reports its end through the context,
// aborted when the abort itself had already handed over the result. The worker thread keeps
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

    // Hands the job to a worker thread of the pool; false (state 5) when
    // none could be created.
    bool start(WorkerThreads &threads);
    // Aborts the retrieval for the given reason; true when this posted the
    // job's result (the job had not finished yet). The worker thread may still
    // be winding down then: until its thread-ended message, the engine reads
    // only the record's URL resource id, aborted reason and error code.
    virtual bool abort(uint32_t reason);
    // Posts the record's progress to the engine's reporter.
    void reportProgress();
    // Reports the job's end through its context.
    void reportEnd(bool aborted) { context_.ended(*this, aborted); }

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
    // Scans a fetched page or style sheet into the record, off the engine
    // thread (see ScannedBody).
    void scanBody();
    // Sets state 4 under the lock unless an abort already did; true when it did.
    bool markFinished();
    // Under the lock: marks the body as too large, with the error "File too
    // large", and frees it.
    void dropTooLargeBody();

    JobContext context_;
    std::latch go_{1};
};

}  // namespace eng
