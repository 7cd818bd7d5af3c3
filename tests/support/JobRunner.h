#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/JobEnds.h"
#include "net/DownloadJob.h"
#include "net/NetworkSettings.h"
#include "net/ProgressSink.h"
#include "sys/MessageQueue.h"
#include "sys/WorkerThreads.h"

namespace test {

// Progress reports as a test sees them: the state and byte counts of each.
class RecordingProgress : public eng::ProgressSink {
public:
    struct Report {
        uint32_t state;
        uint32_t lastChunk;
        uint64_t received;
    };
    void report(const eng::DownloadRecord &record) override;
    std::vector<Report> reports() const;

private:
    mutable std::mutex lock_;
    std::vector<Report> reports_;
};

// Runs download jobs on worker threads and collects their end messages on a
// queue of the test's own, standing in for the engine thread.
class JobRunner {
public:
    JobRunner();

    // A job of the given kind for the address, with the test's user agent
    // and a retrieval that belongs to URL resource 1.
    template <class Job>
    std::shared_ptr<Job> make(const std::string &url, eng::CredentialsPrompt prompt = {}) {
        auto job = std::make_shared<Job>(eng::JobContext{eng::postedTo(queue_), progress_, std::move(prompt)});
        job->record().url = url;
        job->record().userAgent = kUserAgent;
        job->record().urlResId = 1;
        job->record().accessType = 1;  // direct: no proxy of the environment
        return job;
    }

    // Starts the job and waits for its end message; the record is then the
    // job's result. Fails the test on a time-out.
    eng::DownloadRecord &run(eng::DownloadJob &job, std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // The next download-done message, or nothing within the time.
    std::optional<eng::Message> waitDone(std::chrono::milliseconds timeout);
    // Runs the queue's timers (and drops other messages) until the condition
    // holds (true) or the time is over (false).
    bool pumpUntil(const std::function<bool()> &condition, std::chrono::milliseconds timeout);

    eng::MessageQueue &queue() { return *queue_; }
    // The worker threads that run the jobs this runner starts.
    eng::WorkerThreads &threads() { return threads_; }
    const RecordingProgress &progress() const { return *progress_; }

    static constexpr const char *kUserAgent = "LarkTest/1.0";

private:
    std::shared_ptr<eng::MessageQueue> queue_;
    std::shared_ptr<RecordingProgress> progress_;
    eng::WorkerThreads threads_;
};

// Sets the network time-outs for the life of the object.
class ScopedNetworkSettings {
public:
    explicit ScopedNetworkSettings(eng::NetworkSettings settings);
    ~ScopedNetworkSettings();

private:
    eng::NetworkSettings saved_;
};

}  // namespace test
