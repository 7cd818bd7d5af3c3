#pragma once

#include <map>
#include <memory>
#include <string>

#include "net/EchoSocket.h"
#include "net/HostLookups.h"
#include "net/OnlineDetector.h"

namespace eng {

// The detector's real network side: an IPv4 echo socket per probe, opened
// when the probe is, and an IPv6 one opened when the probe's host turns out
// to have only an IPv6 address (or is written as one). Host names are
// looked up on worker threads; their addresses stay in a name cache that
// all probes share. Nothing here blocks: the owner calls poll() on its own
// thread to collect replies and ended lookups.
class PingSockets : public EchoSender {
public:
    PingSockets() = default;
    PingSockets(const PingSockets &) = delete;
    PingSockets &operator=(const PingSockets &) = delete;

    void open(uint32_t probe) override;
    void close(uint32_t probe) override;
    bool ping(uint32_t probe, const std::string &host) override;

    // Passes the replies that have arrived and the lookups that have ended
    // to the receiver. A reply counts only when it carries the identifier
    // of the socket it came to, the probe's identity and the sequence of
    // the probe's last request.
    void poll(EchoReceiver &receiver, EchoReceiver::Time now);

private:
    struct Probe {
        std::unique_ptr<EchoSocket> v4;
        std::unique_ptr<EchoSocket> v6;
        uint16_t nextSequence = 0;
        uint16_t lastSequence = 0;
    };

    void send(uint32_t id, Probe &probe, const SocketAddress &to);
    void receive(EchoReceiver &receiver, EchoReceiver::Time now, uint32_t id, const Probe &probe, EchoSocket *socket);

    std::map<uint32_t, Probe> probes_;
    // Host names (in lower case) and the address each was found at.
    std::map<std::string, SocketAddress> nameCache_;
    HostLookups lookups_;
};

}  // namespace eng
