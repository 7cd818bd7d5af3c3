#pragma once

#include <cstdint>

namespace eng {

// The time-outs and connect retries that every new download session takes.
// Process-wide: the last project that set its properties decides them.
struct NetworkSettings {
    static constexpr uint32_t kDefaultTimeoutSeconds = 120;
    static constexpr uint32_t kDefaultConnectRetries = 5;

    uint32_t receiveTimeoutSeconds = kDefaultTimeoutSeconds;
    uint32_t sendTimeoutSeconds = kDefaultTimeoutSeconds;
    uint32_t connectRetries = kDefaultConnectRetries;

    // A copy taken under the settings lock.
    static NetworkSettings current();
    static void set(const NetworkSettings &settings);
    // The values a project's time-out gives: both time-outs, five retries.
    static void setProjectTimeout(uint32_t seconds);
};

}  // namespace eng
