#pragma once

#include <cstdint>
#include <list>
#include <memory>

#include "sys/WorkerThreads.h"

namespace eng {

class DownloadJob;
class MessageQueue;

// The connection slots of an open project, on the engine thread alone. A job
// holds a slot from its start until it has finished and, when a pause is set,
// for that many seconds more. Aborted jobs wait on the aborting list until
// their worker thread has ended; dropping a job whose thread still runs is
// safe, as the thread keeps it alive until it ends.
class DownloadPool {
public:
    explicit DownloadPool(MessageQueue &engineQueue);
    DownloadPool(const DownloadPool &) = delete;
    DownloadPool &operator=(const DownloadPool &) = delete;
    ~DownloadPool();

    void setMaxPerServer(uint16_t count) { maxPerServer_ = count; }
    void setPause(uint16_t seconds) { pause_ = seconds; }
    uint16_t activeCount() const { return activeCount_; }

    // Starts a job and gives it a slot. A job whose thread cannot be created
    // ends at once as a retrieval that found no handles.
    void launch(std::shared_ptr<DownloadJob> job);
    // Gives a job a slot.
    void add(std::shared_ptr<DownloadJob> job);
    // True while the server's running downloads fill its share of slots.
    bool serverFull(uint32_t domainKey) const;
    // The job that a download-done message names, while the pool holds it.
    std::shared_ptr<DownloadJob> find(const DownloadJob *job) const;

    // The engine has processed the job's result.
    void finished(const DownloadJob *job);
    // The worker thread of an aborted job has ended.
    void threadEnded(const DownloadJob *job);
    // Aborts the running download of a URL resource; false when none runs.
    bool abortResource(uint32_t urlResId);
    void abortAll();
    // Project close: aborts everything and lets go of every job without
    // waiting for blocked worker threads.
    void shutdown();

private:
    using JobList = std::list<std::shared_ptr<DownloadJob>>;

    void pauseOver(uint32_t timer);
    void startPause(DownloadJob &job);
    void abort(const std::shared_ptr<DownloadJob> &job, uint32_t reason);
    static JobList::iterator locate(JobList &list, const DownloadJob *job);
    void release(JobList::iterator position);

    MessageQueue &queue_;
    // The jobs' worker threads: those waiting for a job end with the pool.
    WorkerThreads threads_;
    uint16_t maxPerServer_ = 2;
    uint16_t pause_ = 0;
    uint16_t activeCount_ = 0;
    JobList active_;
    JobList aborting_;
};

}  // namespace eng
