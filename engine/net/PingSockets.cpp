#include "net/PingSockets.h"

#include <chrono>

#include "base/AsciiText.h"

namespace eng {

namespace {

uint32_t tickCount() {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

void PingSockets::open(uint32_t probe) { probes_[probe].v4 = std::make_unique<EchoSocket>(EchoFamily::V4); }

void PingSockets::close(uint32_t probe) {
    lookups_.cancel(probe);
    probes_.erase(probe);
}

bool PingSockets::ping(uint32_t id, const std::string &host) {
    auto it = probes_.find(id);
    if (it == probes_.end()) return true;
    if (auto literal = SocketAddress::parse(host)) {
        send(id, it->second, *literal);
        return true;
    }
    if (auto cached = nameCache_.find(asciiLowered(host)); cached != nameCache_.end()) {
        send(id, it->second, cached->second);
        return true;
    }
    if (!lookups_.pending(id)) lookups_.start(id, host);
    return false;
}

void PingSockets::send(uint32_t id, Probe &probe, const SocketAddress &to) {
    std::unique_ptr<EchoSocket> &socket = to.family() == EchoFamily::V4 ? probe.v4 : probe.v6;
    try {
        if (!socket) socket = std::make_unique<EchoSocket>(to.family());
    } catch (const std::exception &) {
        // Without a socket of the family nothing goes out: the ping times out.
        return;
    }
    probe.lastSequence = probe.nextSequence++;
    const EchoFields fields{socket->identifier(), probe.lastSequence, tickCount(), id};
    socket->send(buildEchoRequest(to.family(), fields), to);
}

void PingSockets::poll(EchoReceiver &receiver, EchoReceiver::Time now) {
    for (HostLookups::Ended &ended : lookups_.takeEnded()) {
        auto it = probes_.find(ended.probe);
        if (it == probes_.end()) continue;
        if (!ended.address) {
            receiver.lookupFailed(ended.probe);
            continue;
        }
        nameCache_[asciiLowered(ended.name)] = *ended.address;
        send(ended.probe, it->second, *ended.address);
        receiver.sent(ended.probe, now);
    }
    for (auto &[id, probe] : probes_) {
        receive(receiver, now, id, probe, probe.v4.get());
        receive(receiver, now, id, probe, probe.v6.get());
    }
}

void PingSockets::receive(EchoReceiver &receiver, EchoReceiver::Time now, uint32_t id, const Probe &probe,
                          EchoSocket *socket) {
    if (!socket) return;
    while (auto reply = socket->receive())
        if (reply->identifier == socket->identifier() && reply->probe == id && reply->sequence == probe.lastSequence)
            receiver.replied(id, now);
}

}  // namespace eng
