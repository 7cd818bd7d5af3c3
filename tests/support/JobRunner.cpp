#include "support/JobRunner.h"

#include <gtest/gtest.h>

#include "core/Messages.h"

namespace test {

void RecordingProgress::report(const eng::DownloadRecord &record) {
    std::lock_guard guard(lock_);
    reports_.push_back({record.state, record.lastChunk, record.received});
}

std::vector<RecordingProgress::Report> RecordingProgress::reports() const {
    std::lock_guard guard(lock_);
    return reports_;
}

JobRunner::JobRunner()
    : queue_(std::make_shared<eng::MessageQueue>()), progress_(std::make_shared<RecordingProgress>()) {}

std::optional<eng::Message> JobRunner::waitDone(std::chrono::milliseconds timeout) {
    bool expired = false;
    const uint32_t timer = queue_->setTimer(timeout, [&expired] { expired = true; });
    std::optional<eng::Message> done;
    while (!expired && !done) {
        if (auto message = queue_->takeNext()) {
            if (message->msg == eng::kTimerMessage)
                queue_->runTimer(static_cast<uint32_t>(message->wParam));
            else if (message->msg == eng::msg::kDownloadDone)
                done = message;
        } else {
            queue_->wait();
        }
    }
    queue_->killTimer(timer);
    return done;
}

bool JobRunner::pumpUntil(const std::function<bool()> &condition, std::chrono::milliseconds timeout) {
    bool expired = false;
    const uint32_t timer = queue_->setTimer(timeout, [&expired] { expired = true; });
    while (!expired && !condition()) {
        if (auto message = queue_->takeNext()) {
            if (message->msg == eng::kTimerMessage) queue_->runTimer(static_cast<uint32_t>(message->wParam));
        } else {
            queue_->wait();
        }
    }
    queue_->killTimer(timer);
    return condition();
}

eng::DownloadRecord &JobRunner::run(eng::DownloadJob &job, std::chrono::milliseconds timeout) {
    EXPECT_TRUE(job.start(threads_));
    const auto done = waitDone(timeout);
    EXPECT_TRUE(done.has_value()) << "the job did not end in time";
    if (done) {
        EXPECT_EQ(done->wParam, 0u);
        EXPECT_EQ(done->lParam, reinterpret_cast<intptr_t>(&job));
    }
    return job.record();
}

ScopedNetworkSettings::ScopedNetworkSettings(eng::NetworkSettings settings) : saved_(eng::NetworkSettings::current()) {
    eng::NetworkSettings::set(settings);
}

ScopedNetworkSettings::~ScopedNetworkSettings() { eng::NetworkSettings::set(saved_); }

}  // namespace test
