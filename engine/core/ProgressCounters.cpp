#include "core/ProgressCounters.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "core/Notifier.h"
#include "sys/MessageQueue.h"

namespace eng {

static_assert(sizeof(EngStatisticsRecord) == 40);

namespace {

// Counts never wrap below zero, whatever order the state changes come in.
void decrement(uint32_t &count) {
    if (count > 0) --count;
}

bool isQueuedOrDownloading(CrawlState s) { return s == CrawlState::Queued || s == CrawlState::Downloading; }

uint32_t clamp32(uint64_t v) { return static_cast<uint32_t>(std::min<uint64_t>(v, UINT32_MAX)); }

}  // namespace

ProgressCounters::ProgressCounters(const Notifier &notifier, MessageQueue &queue)
    : notifier_(notifier), queue_(queue) {}

ProgressCounters::~ProgressCounters() {
    if (timerId_) queue_.killTimer(timerId_);
}

void ProgressCounters::setCounts(uint32_t queued, uint32_t done, uint32_t errors) {
    queued_ = queued;
    done_ = done;
    errors_ = errors;
}

CounterChange ProgressCounters::inserted(const CountedUrlRes &now) {
    CounterChange c;
    if (isQueuedOrDownloading(now.state)) {
        ++queued_;
        c.changed = true;
    }
    return c;
}

CounterChange ProgressCounters::changed(const CountedUrlRes &now, const CountedUrlRes &before) {
    CounterChange c;
    using S = CrawlState;
    if (now.state == S::Queued && before.state != S::Queued) {
        ++queued_;
        c.changed = true;
    } else if (now.state == S::Done && before.state != S::Done) {
        ++done_;
        if (before.state == S::Downloading || before.state == S::Suspended) decrement(queued_);
        c.changed = true;
    } else if (now.state == S::Suspended && before.state == S::Queued) {
        decrement(queued_);
        c.changed = true;
    } else if (now.state == S::Suspended && before.state == S::Downloading) {
        ++done_;
        decrement(queued_);
        c.changed = true;
        c.abortDownload = true;
    }
    if (now.error && !before.error) {
        ++errors_;
        c.changed = true;
    } else if (!now.error && before.error) {
        decrement(errors_);
        c.changed = true;
    }
    return c;
}

CounterChange ProgressCounters::deleted(const CountedUrlRes &before) {
    CounterChange c;
    if (isQueuedOrDownloading(before.state)) {
        decrement(queued_);
        c.changed = true;
        c.abortDownload = before.state == CrawlState::Downloading;
    }
    if (before.error) {
        decrement(errors_);
        c.changed = true;
    }
    return c;
}

CounterChange ProgressCounters::suspended(uint32_t count) {
    queued_ -= std::min(queued_, count);
    return CounterChange{count != 0, false};
}

void ProgressCounters::addReceived(uint32_t bytes, bool receiving) {
    std::lock_guard lock(lock_);
    bytesReceived_ += bytes;
    if (receiving) bytesThisSecond_ += bytes;
}

void ProgressCounters::downloadStarted() {
    if (timerId_) return;
    startTime_ = now();
    timerId_ = queue_.setTimer(std::chrono::milliseconds(kTimerPeriodMs), [this] { tick(); });
}

void ProgressCounters::stopTimer() {
    if (!timerId_) return;
    queue_.killTimer(timerId_);
    timerId_ = 0;
    postStatistics();
}

void ProgressCounters::resetProgress() {
    done_ = 0;
    errors_ = 0;
    {
        std::lock_guard lock(lock_);
        bytesReceived_ = 0;
        bytesThisSecond_ = 0;
    }
    startTime_ = now();
    postStatistics();
}

EngStatisticsRecord ProgressCounters::computeLocked(Date at) {
    EngStatisticsRecord r{};
    const double elapsed = startTime_ > 0 ? std::max(0.0, at - startTime_) : 0.0;
    const uint64_t elapsedSeconds = static_cast<uint64_t>(std::floor(elapsed * kSecondsPerDay));
    r.bytesReceived = clamp32(bytesReceived_);
    r.averageSpeed = clamp32(bytesReceived_ / std::max<uint64_t>(elapsedSeconds, 1));
    r.bytesLastSecond = clamp32(bytesThisSecond_);
    r.elapsedTime = elapsed;
    r.remainingTime = static_cast<double>(elapsedSeconds) * queued_ / std::max<uint32_t>(done_, 1) / kSecondsPerDay;
    r.queued = queued_;
    r.done = done_;
    r.errors = errors_;
    return r;
}

EngStatisticsRecord ProgressCounters::snapshot() {
    std::lock_guard lock(lock_);
    return computeLocked(now());
}

void ProgressCounters::postStatistics() { post(snapshot()); }

void ProgressCounters::post(const EngStatisticsRecord &record) const {
    notifier_.post(ENG_NOTIFY_STATISTICS, [&](MemoryStream &s) { s.writeRecord(record); });
}

void ProgressCounters::tick() {
    EngStatisticsRecord record;
    {
        std::lock_guard lock(lock_);
        record = computeLocked(now());
        bytesThisSecond_ = 0;
    }
    post(record);
}

}  // namespace eng
