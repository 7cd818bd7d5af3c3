#include "SpeedSamples.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

void SpeedSamples::reset() {
    points_.assign(kPoints, 0);
    samples_ = 0;
    carry_ = 0;
    base_ = 0;
    started_ = false;
}

void SpeedSamples::add(int64_t timeMs, uint32_t currentSpeed) {
    samples_ = std::min(samples_ + 1, kPoints);
    if (!started_ || timeMs == base_) base_ = timeMs - 1000;
    started_ = true;
    const int64_t elapsed = timeMs - base_;
    if (elapsed <= 0) return;  // a clock that went back draws nothing
    const int64_t seconds = elapsed / 1000;
    const int64_t pending = int64_t{currentSpeed} + carry_;
    const auto rate = int64_t(std::llround(double(pending * seconds) * 1000.0 / double(elapsed)));
    carry_ = pending - rate;
    base_ += seconds * 1000;
    const int64_t steps = std::min<int64_t>(seconds, kPoints);
    for (int64_t step = 0; step < steps; ++step) {
        points_.pop_front();
        points_.push_back(rate / steps);
    }
}

int64_t SpeedSamples::average() const {
    if (samples_ == 0) return 0;
    int64_t sum = 0;
    for (const int64_t point : points_) sum += std::llabs(point);
    return std::llround(double(sum) / samples_);
}
