#include "net/DownloadPool.h"

#include <algorithm>
#include <chrono>

#include "net/DownloadJob.h"
#include "sys/InternetErrors.h"
#include "sys/MessageQueue.h"

namespace eng {

DownloadPool::DownloadPool(MessageQueue &engineQueue) : queue_(engineQueue) {}

DownloadPool::~DownloadPool() { shutdown(); }

DownloadPool::JobList::iterator DownloadPool::locate(JobList &list, const DownloadJob *job) {
    return std::find_if(list.begin(), list.end(), [job](const auto &entry) { return entry.get() == job; });
}

void DownloadPool::add(std::shared_ptr<DownloadJob> job) {
    ++activeCount_;
    active_.push_back(std::move(job));
}

void DownloadPool::launch(std::shared_ptr<DownloadJob> job) {
    add(job);
    if (job->start(threads_)) return;
    job->record().errorCode = kErrOutOfHandles;
    job->reportEnd(false);
}

bool DownloadPool::serverFull(uint32_t domainKey) const {
    uint32_t running = 0;
    for (const auto &job : active_) {
        const DownloadRecord &record = job->record();
        if (record.domainKey == domainKey && record.urlResId != 0 && ++running == maxPerServer_) return true;
    }
    return false;
}

std::shared_ptr<DownloadJob> DownloadPool::find(const DownloadJob *job) const {
    for (const JobList *list : {&active_, &aborting_})
        for (const auto &entry : *list)
            if (entry.get() == job) return entry;
    return nullptr;
}

void DownloadPool::release(JobList::iterator position) {
    active_.erase(position);
    if (activeCount_ > 0) --activeCount_;
}

void DownloadPool::finished(const DownloadJob *job) {
    const auto position = locate(active_, job);
    if (position == active_.end()) return;
    if (pause_ != 0) {
        startPause(**position);
        return;
    }
    release(position);  // an aborted job lives on in the aborting list until its thread ends
}

void DownloadPool::startPause(DownloadJob &job) {
    auto timer = std::make_shared<uint32_t>(0);
    *timer = queue_.setTimer(std::chrono::seconds(pause_), [this, timer] { pauseOver(*timer); });
    job.record().pauseTimer = *timer;
}

void DownloadPool::pauseOver(uint32_t timer) {
    queue_.killTimer(timer);
    const auto position = std::find_if(active_.begin(), active_.end(),
                                       [timer](const auto &job) { return job->record().pauseTimer == timer; });
    if (position == active_.end()) return;
    (*position)->record().pauseTimer = 0;
    release(position);
}

void DownloadPool::threadEnded(const DownloadJob *job) {
    const auto position = locate(aborting_, job);
    if (position == aborting_.end()) return;
    const bool pausing = (*position)->record().pauseTimer != 0;
    aborting_.erase(position);
    if (pausing) return;  // the pause timer releases the slot
    if (const auto active = locate(active_, job); active != active_.end()) release(active);
}

void DownloadPool::abort(const std::shared_ptr<DownloadJob> &job, uint32_t reason) {
    if (job->abort(reason) && locate(aborting_, job.get()) == aborting_.end()) aborting_.push_back(job);
}

bool DownloadPool::abortResource(uint32_t urlResId) {
    const auto position = std::find_if(active_.begin(), active_.end(),
                                       [urlResId](const auto &job) { return job->record().urlResId == urlResId; });
    if (position == active_.end()) return false;
    abort(*position, 1);
    return true;
}

void DownloadPool::abortAll() {
    for (const auto &job : active_) abort(job, 0);
}

void DownloadPool::shutdown() {
    abortAll();
    for (const auto &job : active_)
        if (job->record().pauseTimer != 0) queue_.killTimer(job->record().pauseTimer);
    active_.clear();
    activeCount_ = 0;
    aborting_.clear();
}

}  // namespace eng
