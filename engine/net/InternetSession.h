#pragma once

#include <curl/curl.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "net/NetworkSettings.h"

namespace eng {

// How a session reaches the network.
enum class AccessType : uint32_t { System = 0, Direct = 1, NamedProxy = 3 };

struct SessionOptions {
    std::string userAgent;
    AccessType accessType = AccessType::System;
    std::string proxy;  // host[:port], with the access type NamedProxy
};

// One retrieval's session: the agent, the way to the network and the
// time-outs in force when it was opened. Closing it (from any thread) makes
// the transfer running on it end at once as cancelled, and every later one
// fail the same way.
class InternetSession {
public:
    explicit InternetSession(SessionOptions options);
    InternetSession(const InternetSession &) = delete;
    InternetSession &operator=(const InternetSession &) = delete;

    const SessionOptions &options() const { return options_; }
    const NetworkSettings &settings() const { return settings_; }

    void close();
    bool closed() const { return closed_.load(); }

    // The transfer running on this session, so that close can wake it.
    void attach(CURLM *multi);
    void detach(CURLM *multi);

    // Sets the session's agent, proxy, time-outs and the rules that every
    // transfer shares on a new easy handle.
    void configure(CURL *easy) const;

private:
    SessionOptions options_;
    NetworkSettings settings_;
    std::atomic<bool> closed_{false};
    std::mutex lock_;  // guards running_ against close from another thread
    CURLM *running_ = nullptr;
};

}  // namespace eng
