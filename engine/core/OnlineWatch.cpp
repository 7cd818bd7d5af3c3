#include "core/OnlineWatch.h"

#include <chrono>

#include "core/Engine.h"
#include "engine.h"
#include "sys/MessageQueue.h"

namespace eng {

namespace {

OnlineDetector::Time steadyNow() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch());
}

}  // namespace

OnlineWatch::OnlineWatch(Engine &engine) : engine_(engine), detector_(sockets_, *this) { detector_.start(steadyNow()); }

void OnlineWatch::stop() {
    detector_.stop();
    if (timer_) engine_.queue().killTimer(std::exchange(timer_, 0));
}

void OnlineWatch::setHosts(std::string_view list) {
    try {
        detector_.setHosts(list, steadyNow());
    } catch (...) {
        updateTimer();
        throw;
    }
    updateTimer();
}

void OnlineWatch::updateTimer() {
    if (detector_.hasHosts() && !timer_)
        timer_ = engine_.queue().setTimer(kPollPeriod, [this] { poll(); });
    else if (!detector_.hasHosts() && timer_)
        engine_.queue().killTimer(std::exchange(timer_, 0));
}

void OnlineWatch::poll() {
    const OnlineDetector::Time now = steadyNow();
    sockets_.poll(detector_, now);
    detector_.advance(now);
}

std::map<std::string, OnlineWatch::HostState> OnlineWatch::hostStates() const {
    std::lock_guard lock(statesLock_);
    return states_;
}

void OnlineWatch::pingEnded(const std::string &host, int32_t, bool replied, uint32_t roundTrip) {
    std::lock_guard lock(statesLock_);
    states_[host] = HostState{replied ? 1 : 0, roundTrip};
}

void OnlineWatch::hostRemoved(const std::string &host) {
    std::lock_guard lock(statesLock_);
    states_.erase(host);
}

void OnlineWatch::settled(OnlineState state) {
    const bool allowed = engine_.downloadsAllowed();
    if (state != OnlineState::NoHosts) engine_.notifier().postValue(ENG_NOTIFY_ONLINE, allowed ? 1 : 0);
}

}  // namespace eng
