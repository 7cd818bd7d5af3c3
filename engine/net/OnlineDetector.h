#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace eng {

// Where the network side reports what happened to a probe's ping (the
// detector, or a test's recorder).
class EchoReceiver {
public:
    using Time = std::chrono::milliseconds;
    virtual ~EchoReceiver() = default;
    // The probe's request got its reply.
    virtual void replied(uint32_t probe, Time now) = 0;
    // The probe's name lookup ended and the request went out.
    virtual void sent(uint32_t probe, Time now) = 0;
    virtual void lookupFailed(uint32_t probe) = 0;
};

// The network side of the detector: one echo socket per probe, name
// lookups, sending. Replies and ended lookups come back to an EchoReceiver.
class EchoSender {
public:
    virtual ~EchoSender() = default;
    // Prepares the probe's socket; throws when it cannot.
    virtual void open(uint32_t probe) = 0;
    // Closes the probe's socket and forgets its pending lookup.
    virtual void close(uint32_t probe) = 0;
    // Sends one echo request to the host: true when it went out now, false
    // when the host's name is being looked up first.
    virtual bool ping(uint32_t probe, const std::string &host) = 0;
};

enum class OnlineState : int32_t { NoHosts = 0, Online = 1, Offline = 2 };

// Outcomes of one ping as the detector reports them.
inline constexpr int32_t kPingReplied = 0;
inline constexpr int32_t kPingLookupFailed = -2;
inline constexpr int32_t kPingTimedOut = -3;

// What the detector tells its owner, on the owner's thread.
class OnlineEvents {
public:
    virtual ~OnlineEvents() = default;
    // One ping ended (outcome above); replied and the round trip in
    // milliseconds are the host's results now.
    virtual void pingEnded(const std::string &host, int32_t outcome, bool replied, uint32_t roundTrip) = 0;
    // The host was removed from the list.
    virtual void hostRemoved(const std::string &host) = 0;
    virtual void stateChanged(OnlineState state) = 0;
    // The state has lasted: announced when it changes, except that an
    // offline state is announced only once it has lasted the offline delay,
    // so a short loss of replies is never announced.
    virtual void settled(OnlineState state) = 0;
};

// The detector's periods, in milliseconds.
struct DetectorTiming {
    std::chrono::milliseconds pingInterval{2000};
    std::chrono::milliseconds evaluationInterval{3000};
    // How long an offline state lasts before it is announced.
    std::chrono::milliseconds offlineDelay{4000};
    std::chrono::milliseconds replyTimeout{1000};
};

// Decides whether the computer is online by pinging a list of hosts: every
// ping interval each host whose last ping has ended is pinged again, and
// every evaluation interval the state becomes online when any host replied
// to one of its last ten pings, else offline. A ping that gets no reply
// within the reply time-out, or whose host name cannot be looked up,
// counts as not replied.
//
// Time is what the owner passes in (milliseconds from any fixed origin);
// advance() runs, in order, every timer that has fallen due by then, each
// at its own due time, except that requests go out at the present time (so
// round trips are measured from when they really left). The owner's thread is the only one that calls it.
class OnlineDetector : public EchoReceiver {
public:
    using Timing = DetectorTiming;
    static constexpr size_t kRingSize = 10;

    OnlineDetector(EchoSender &sender, OnlineEvents &events, Timing timing = {});
    OnlineDetector(const OnlineDetector &) = delete;
    OnlineDetector &operator=(const OnlineDetector &) = delete;
    ~OnlineDetector() override = default;

    void start(Time now);
    void stop();
    // Sets the list of hosts: names separated by CR or LF, trimmed, compared
    // without regard to case. New hosts are added (and pinged at once while
    // the detector runs), then hosts no longer listed are removed. When a
    // probe cannot be opened this throws at once: the hosts added before
    // it stay and none is removed.
    void setHosts(std::string_view list, Time now);
    void advance(Time now);

    void replied(uint32_t probe, Time now) override;
    void sent(uint32_t probe, Time now) override;
    void lookupFailed(uint32_t probe) override;

    OnlineState state() const { return state_; }
    bool hasHosts() const { return !probes_.empty(); }
    // Downloads may start: no host is pinged, or the state is online.
    bool allowsDownloads() const { return probes_.empty() || state_ == OnlineState::Online; }
    // The probe identities in host order (tests and the owner's look-ups).
    std::vector<uint32_t> probeIds() const;

private:
    struct Probe {
        std::string host;
        uint32_t id = 0;
        bool done = true;
        std::optional<Time> replyDeadline;
        Time sentAt{0};
        std::array<uint8_t, kRingSize> ring{};
        size_t ringPosition = kRingSize - 1;
        bool lastReplied = false;
        uint32_t roundTrip = 0;

        void record(bool reply);
        bool repliedLately() const;
    };

    Probe *find(uint32_t id);
    void addHost(const std::string &host, Time now);
    void removeHost(size_t index, Time now);
    void ping(Probe &probe, Time now);
    void awaitReply(Probe &probe, Time now);
    void endPing(Probe &probe, int32_t outcome, bool reply);
    // The earliest timer due by now, fired; false when none is due.
    bool fireNextDue(Time now);
    void pingAll(Time now);
    void evaluate(Time now);
    bool anyRepliedLately() const;
    // Stores a new state and announces it; an offline state that is not
    // immediate is announced as settled only after the offline delay.
    void changeState(OnlineState state, bool immediate, Time now);

    EchoSender &sender_;
    OnlineEvents &events_;
    Timing timing_;
    std::vector<Probe> probes_;
    OnlineState state_ = OnlineState::NoHosts;
    bool announced_ = true;
    bool running_ = false;
    Time nextPing_{0};
    Time nextEvaluation_{0};
    std::optional<Time> offlineAnnouncement_;
};

}  // namespace eng
