#pragma once

#include <mutex>

#include "core/Notifier.h"
#include "net/ProgressSink.h"

namespace eng {

class ProgressCounters;

// Turns the records of running downloads into byte counts and progress
// notifications (33615) for the application. Worker threads may outlive the
// project, so the engine disconnects the reporter at close; reports after
// that go nowhere.
class DownloadProgressReporter : public ProgressSink {
public:
    DownloadProgressReporter(ProgressCounters &counters, const Notifier &notifier);

    void report(const DownloadRecord &record) override;
    void disconnect();

private:
    std::mutex lock_;
    ProgressCounters *counters_;
    Notifier notifier_;
};

}  // namespace eng
