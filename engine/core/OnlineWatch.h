#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "net/OnlineDetector.h"
#include "net/PingSockets.h"

namespace eng {

class Engine;

// The engine's online detection: the detector with its sockets, driven on
// the engine thread by a queue timer that runs while hosts are pinged, and
// the last result of every host, which the application reads from its own
// thread. When the state settles the application is told whether
// downloads may start (ENG_NOTIFY_ONLINE, wParam 1 or 0); the message loop
// starts them again on its own once they may.
class OnlineWatch : private OnlineEvents {
public:
    // How often the sockets are read while hosts are pinged.
    static constexpr std::chrono::milliseconds kPollPeriod{20};

    struct HostState {
        int32_t replied = 0;
        uint32_t roundTrip = 0;
    };

    explicit OnlineWatch(Engine &engine);
    OnlineWatch(const OnlineWatch &) = delete;
    OnlineWatch &operator=(const OnlineWatch &) = delete;
    ~OnlineWatch() override = default;

    // The hosts to ping, separated by CR or LF; throws when one cannot get
    // a socket (the hosts added before it stay).
    void setHosts(std::string_view list);
    // Ends the pinging for good (the engine thread is ending); the engine
    // calls it while its queue still exists.
    void stop();
    bool allowsDownloads() const { return detector_.allowsDownloads(); }
    // Every host with a result, by host name. Any thread.
    std::map<std::string, HostState> hostStates() const;

private:
    void pingEnded(const std::string &host, int32_t outcome, bool replied, uint32_t roundTrip) override;
    void hostRemoved(const std::string &host) override;
    void stateChanged(OnlineState) override {}
    void settled(OnlineState state) override;

    void poll();
    void updateTimer();

    Engine &engine_;
    PingSockets sockets_;
    OnlineDetector detector_;
    uint32_t timer_ = 0;
    mutable std::mutex statesLock_;
    std::map<std::string, HostState> states_;
};

}  // namespace eng
