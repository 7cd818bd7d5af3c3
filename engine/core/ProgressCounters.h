#pragma once

#include <cstdint>
#include <mutex>

#include "base/DateTime.h"
#include "engine.h"

namespace eng {

class MessageQueue;
class Notifier;

// Crawl states of a URL resource as the counters see them.
enum class CrawlState : uint8_t { Done = 2, Queued = 3, Downloading = 4, Suspended = 5 };

// The two facts of a URL resource record that the counters follow.
struct CountedUrlRes {
    CrawlState state;
    bool error;
};

// What a change of a URL resource did to the counters.
struct CounterChange {
    bool changed = false;
    // The resource left the downloading state for suspended or was deleted
    // while downloading: its running download must be aborted.
    bool abortDownload = false;
};

// The queued, done and error counts and the byte totals of the current run,
// with the statistics notification they feed (every second while the timer
// runs). Byte totals are added by download threads; everything else runs
// on the engine thread.
class ProgressCounters {
public:
    static constexpr uint32_t kTimerPeriodMs = 1000;

    ProgressCounters(const Notifier &notifier, MessageQueue &queue);
    ProgressCounters(const ProgressCounters &) = delete;
    ProgressCounters &operator=(const ProgressCounters &) = delete;
    ~ProgressCounters();

    void setCounts(uint32_t queued, uint32_t done, uint32_t errors);
    CounterChange inserted(const CountedUrlRes &now);
    CounterChange changed(const CountedUrlRes &now, const CountedUrlRes &before);
    CounterChange deleted(const CountedUrlRes &before);
    // Queued resources were suspended in bulk.
    CounterChange suspended(uint32_t count);

    // Adds received bytes; a chunk that arrives while its download is
    // receiving also counts toward the current second. Any thread.
    void addReceived(uint32_t bytes, bool receiving);

    // A download started: starts the timer (and the clock) when it is not running.
    void downloadStarted();
    // Computes, posts a final notification and stops the timer.
    void stopTimer();
    bool timerRunning() const { return timerId_ != 0; }
    // Zeroes the byte totals, the done and error counts and the times (the
    // queued count stays), then posts statistics.
    void resetProgress();

    // Computes the statistics now and posts them.
    void postStatistics();
    EngStatisticsRecord snapshot();
    uint32_t queued() const { return queued_; }
    uint32_t done() const { return done_; }
    uint32_t errors() const { return errors_; }

private:
    void tick();
    void post(const EngStatisticsRecord &record) const;
    EngStatisticsRecord computeLocked(Date at);

    const Notifier &notifier_;
    MessageQueue &queue_;
    uint32_t queued_ = 0;
    uint32_t done_ = 0;
    uint32_t errors_ = 0;
    Date startTime_ = 0;
    uint32_t timerId_ = 0;
    // Guarded by lock_: written by download threads.
    std::mutex lock_;
    uint64_t bytesReceived_ = 0;
    uint64_t bytesThisSecond_ = 0;
};

}  // namespace eng
