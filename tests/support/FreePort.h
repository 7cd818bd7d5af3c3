#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "support/UniqueFd.h"

namespace test {

// A TCP port on 127.0.0.1 that nothing listened on a moment ago. Another
// process may still take it before the caller binds it: callers retry.
uint16_t freePort();

// A blocking TCP connection to 127.0.0.1:port, or an empty descriptor when
// nothing accepts there.
UniqueFd connectToLocalPort(uint16_t port);

// Tries to connect to 127.0.0.1:port until it works (true), the timeout
// passes or keepWaiting() says false (false).
bool waitUntilAccepting(uint16_t port, std::chrono::milliseconds timeout, const std::function<bool()> &keepWaiting);

}  // namespace test
