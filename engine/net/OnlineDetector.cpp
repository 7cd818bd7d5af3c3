#include "net/OnlineDetector.h"

#include <algorithm>
#include <atomic>

#include "base/AsciiText.h"

namespace eng {

namespace {

// Probe identities are unique within the process, so that a reply meant
// for another probe (of this or another project) is never taken.
uint32_t nextProbeId() {
    static std::atomic<uint32_t> counter{0};
    return ++counter;
}

std::vector<std::string> splitHosts(std::string_view list) {
    std::vector<std::string> hosts;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = list.size();
        std::string_view name = trimmedWhite(list.substr(start, end - start));
        if (!name.empty()) hosts.emplace_back(name);
        start = end + 1;
    }
    return hosts;
}

}  // namespace

void OnlineDetector::Probe::record(bool reply) {
    ringPosition = (ringPosition + 1) % kRingSize;
    ring[ringPosition] = reply ? 1 : 0;
    lastReplied = reply;
}

bool OnlineDetector::Probe::repliedLately() const { return std::find(ring.begin(), ring.end(), 1) != ring.end(); }

OnlineDetector::OnlineDetector(EchoSender &sender, OnlineEvents &events, Timing timing)
    : sender_(sender), events_(events), timing_(timing) {}

void OnlineDetector::start(Time now) {
    running_ = true;
    nextPing_ = now + timing_.pingInterval;
    nextEvaluation_ = now + timing_.evaluationInterval;
}

void OnlineDetector::stop() {
    running_ = false;
    offlineAnnouncement_.reset();
}

void OnlineDetector::setHosts(std::string_view list, Time now) {
    const std::vector<std::string> hosts = splitHosts(list);
    for (const std::string &host : hosts) {
        const bool known =
            std::any_of(probes_.begin(), probes_.end(), [&](const Probe &p) { return equalsNoCase(p.host, host); });
        if (!known) addHost(host, now);
    }
    for (size_t i = probes_.size(); i-- > 0;) {
        const bool listed = std::any_of(hosts.begin(), hosts.end(),
                                        [&](const std::string &h) { return equalsNoCase(h, probes_[i].host); });
        if (!listed) removeHost(i, now);
    }
}

void OnlineDetector::addHost(const std::string &host, Time now) {
    Probe probe;
    probe.host = host;
    probe.id = nextProbeId();
    sender_.open(probe.id);
    probes_.push_back(std::move(probe));
    if (running_) ping(probes_.back(), now);
    if (probes_.size() == 1) changeState(OnlineState::Offline, true, now);
}

void OnlineDetector::removeHost(size_t index, Time now) {
    const std::string host = probes_[index].host;
    sender_.close(probes_[index].id);
    probes_.erase(probes_.begin() + static_cast<ptrdiff_t>(index));
    events_.hostRemoved(host);
    if (probes_.empty())
        changeState(OnlineState::NoHosts, false, now);
    else if (!anyRepliedLately())
        changeState(OnlineState::Offline, true, now);
}

OnlineDetector::Probe *OnlineDetector::find(uint32_t id) {
    auto it = std::find_if(probes_.begin(), probes_.end(), [&](const Probe &p) { return p.id == id; });
    return it == probes_.end() ? nullptr : &*it;
}

std::vector<uint32_t> OnlineDetector::probeIds() const {
    std::vector<uint32_t> ids;
    for (const Probe &p : probes_) ids.push_back(p.id);
    return ids;
}

void OnlineDetector::ping(Probe &probe, Time now) {
    probe.done = false;
    if (sender_.ping(probe.id, probe.host)) awaitReply(probe, now);
}

void OnlineDetector::awaitReply(Probe &probe, Time now) {
    probe.sentAt = now;
    probe.replyDeadline = now + timing_.replyTimeout;
}

void OnlineDetector::sent(uint32_t id, Time now) {
    Probe *probe = find(id);
    if (probe && !probe->done && !probe->replyDeadline) awaitReply(*probe, now);
}

void OnlineDetector::replied(uint32_t id, Time now) {
    Probe *probe = find(id);
    if (!probe || probe->done || !probe->replyDeadline) return;
    probe->roundTrip = static_cast<uint32_t>(std::max(Time{0}, now - probe->sentAt).count());
    endPing(*probe, kPingReplied, true);
}

void OnlineDetector::lookupFailed(uint32_t id) {
    Probe *probe = find(id);
    if (probe && !probe->done && !probe->replyDeadline) endPing(*probe, kPingLookupFailed, false);
}

void OnlineDetector::endPing(Probe &probe, int32_t outcome, bool reply) {
    probe.done = true;
    probe.replyDeadline.reset();
    probe.record(reply);
    events_.pingEnded(probe.host, outcome, probe.lastReplied, probe.roundTrip);
}

void OnlineDetector::advance(Time now) {
    while (fireNextDue(now)) {
    }
}

bool OnlineDetector::fireNextDue(Time now) {
    enum class Timer { Ping, Evaluation, Offline, Reply };
    std::optional<Time> due;
    Timer timer = Timer::Ping;
    Probe *timedOut = nullptr;
    // Of timers due at the same moment the first considered runs first.
    auto consider = [&](std::optional<Time> at, Timer kind, Probe *probe) {
        if (!at || *at > now || (due && *due <= *at)) return;
        due = at;
        timer = kind;
        timedOut = probe;
    };
    if (running_) {
        consider(nextPing_, Timer::Ping, nullptr);
        consider(nextEvaluation_, Timer::Evaluation, nullptr);
    }
    consider(offlineAnnouncement_, Timer::Offline, nullptr);
    for (Probe &p : probes_) consider(p.replyDeadline, Timer::Reply, &p);
    if (!due) return false;
    switch (timer) {
        case Timer::Ping:
            nextPing_ += timing_.pingInterval;
            pingAll(now);
            break;
        case Timer::Evaluation:
            nextEvaluation_ += timing_.evaluationInterval;
            evaluate(*due);
            break;
        case Timer::Offline:
            offlineAnnouncement_.reset();
            announced_ = true;
            events_.settled(state_);
            break;
        case Timer::Reply:
            endPing(*timedOut, kPingTimedOut, false);
            break;
    }
    return true;
}

void OnlineDetector::pingAll(Time now) {
    for (Probe &p : probes_)
        if (p.done) ping(p, now);
}

void OnlineDetector::evaluate(Time now) {
    if (probes_.empty()) return;
    changeState(anyRepliedLately() ? OnlineState::Online : OnlineState::Offline, false, now);
}

bool OnlineDetector::anyRepliedLately() const {
    return std::any_of(probes_.begin(), probes_.end(), [](const Probe &p) { return p.repliedLately(); });
}

void OnlineDetector::changeState(OnlineState state, bool immediate, Time now) {
    if (state == state_) return;
    state_ = state;
    events_.stateChanged(state);
    offlineAnnouncement_.reset();
    if (immediate) {
        events_.settled(state);
    } else if (state == OnlineState::Offline) {
        announced_ = false;
        offlineAnnouncement_ = now + timing_.offlineDelay;
    } else if (announced_) {
        events_.settled(state);
    }
}

}  // namespace eng
