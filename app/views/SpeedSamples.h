#pragma once

#include <cstdint>
#include <deque>

// The download speed of the last 100 seconds, one point per second, from
// statistics that arrive about once a second but not on the second: what an
// update brings is spread over the whole seconds since the last one, and the
// bytes of the part second left over are carried into the next update.
class SpeedSamples {
public:
    static constexpr int kPoints = 100;

    SpeedSamples() { reset(); }

    // 100 points at zero, no samples counted.
    void reset();
    // Counts no samples, so that the average starts afresh (the points stay).
    void restartCount() { samples_ = 0; }
    // An update at the time (milliseconds, any steady origin) with the bytes
    // of the last second.
    void add(int64_t timeMs, uint32_t currentSpeed);

    // Bytes per second, oldest first; always kPoints of them.
    const std::deque<int64_t> &points() const { return points_; }
    // The sum of the points over the samples counted, rounded; 0 before any.
    int64_t average() const;
    int samples() const { return samples_; }

private:
    std::deque<int64_t> points_;
    int samples_ = 0;
    int64_t carry_ = 0;  // bytes reported but not drawn yet
    int64_t base_ = 0;   // the time the drawn points reach
    bool started_ = false;
};
