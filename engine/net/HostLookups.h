#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "net/EchoSocket.h"

namespace eng {

// Host-name lookups that must not hold the thread that asks for them: each
// runs on a worker thread of its own; the asker collects the ended ones.
class HostLookups {
public:
    struct Ended {
        uint32_t probe = 0;
        std::string name;
        // The first IPv4 address of the name, else its first IPv6 address;
        // nothing when the name could not be looked up.
        std::optional<SocketAddress> address;
    };

    HostLookups() = default;
    HostLookups(const HostLookups &) = delete;
    HostLookups &operator=(const HostLookups &) = delete;
    // Waits for the lookups still running.
    ~HostLookups();

    void start(uint32_t probe, const std::string &name);
    // The probe's lookup, if any, ends without being reported.
    void cancel(uint32_t probe);
    bool pending(uint32_t probe) const;
    std::vector<Ended> takeEnded();

private:
    // Filled by the workers: each ended lookup under its serial number.
    struct Shared {
        std::mutex mutex;
        std::vector<std::pair<uint64_t, Ended>> ended;
    };
    struct Running {
        uint64_t serial = 0;
        uint32_t probe = 0;
        bool cancelled = false;
        std::jthread worker;
    };

    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    std::list<Running> running_;
    uint64_t nextSerial_ = 0;
};

}  // namespace eng
