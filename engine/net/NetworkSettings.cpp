#include "net/NetworkSettings.h"

#include <mutex>

namespace eng {

namespace {

std::mutex &settingsLock() {
    static std::mutex lock;
    return lock;
}

NetworkSettings &settings() {
    static NetworkSettings value;
    return value;
}

}  // namespace

NetworkSettings NetworkSettings::current() {
    std::lock_guard guard(settingsLock());
    return settings();
}

void NetworkSettings::set(const NetworkSettings &value) {
    std::lock_guard guard(settingsLock());
    settings() = value;
}

void NetworkSettings::setProjectTimeout(uint32_t seconds) {
    set({.receiveTimeoutSeconds = seconds, .sendTimeoutSeconds = seconds, .connectRetries = kDefaultConnectRetries});
}

}  // namespace eng
