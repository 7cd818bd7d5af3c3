#include "net/HostLookups.h"

#include <netdb.h>

#include <algorithm>
#include <cstring>

namespace eng {

namespace {

std::optional<SocketAddress> lookUp(const std::string &name) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_RAW;
    addrinfo *found = nullptr;
    if (::getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0) return std::nullopt;
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owned(found, ::freeaddrinfo);
    const addrinfo *chosen = nullptr;
    for (const addrinfo *a = found; a; a = a->ai_next) {
        if (a->ai_family == AF_INET) {
            chosen = a;
            break;
        }
        if (a->ai_family == AF_INET6 && !chosen) chosen = a;
    }
    if (!chosen || chosen->ai_addrlen > sizeof(sockaddr_storage)) return std::nullopt;
    SocketAddress address;
    std::memcpy(&address.storage, chosen->ai_addr, chosen->ai_addrlen);
    address.length = chosen->ai_addrlen;
    return address;
}

}  // namespace

HostLookups::~HostLookups() = default;

void HostLookups::start(uint32_t probe, const std::string &name) {
    const uint64_t serial = ++nextSerial_;
    Running &entry = running_.emplace_back();
    entry.serial = serial;
    entry.probe = probe;
    entry.worker = std::jthread([shared = shared_, serial, probe, name] {
        Ended ended{probe, name, lookUp(name)};
        std::lock_guard lock(shared->mutex);
        shared->ended.emplace_back(serial, std::move(ended));
    });
}

void HostLookups::cancel(uint32_t probe) {
    for (Running &r : running_)
        if (r.probe == probe) r.cancelled = true;
}

bool HostLookups::pending(uint32_t probe) const {
    return std::any_of(running_.begin(), running_.end(),
                       [&](const Running &r) { return r.probe == probe && !r.cancelled; });
}

std::vector<HostLookups::Ended> HostLookups::takeEnded() {
    std::vector<std::pair<uint64_t, Ended>> ended;
    {
        std::lock_guard lock(shared_->mutex);
        ended.swap(shared_->ended);
    }
    std::vector<Ended> wanted;
    for (auto &entry : ended) {
        const uint64_t serial = entry.first;
        auto it = std::find_if(running_.begin(), running_.end(), [&](const Running &r) { return r.serial == serial; });
        if (it == running_.end()) continue;
        if (!it->cancelled) wanted.push_back(std::move(entry.second));
        running_.erase(it);
    }
    return wanted;
}

}  // namespace eng
