#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "base/WaitToken.h"

namespace eng {

// The browser requests that wait for queued resources: one signal per
// resource, of which every waiting request holds its own duplicate. On the
// engine thread alone.
class BrowserWaiters {
public:
    BrowserWaiters() = default;
    BrowserWaiters(const BrowserWaiters &) = delete;
    BrowserWaiters &operator=(const BrowserWaiters &) = delete;
    ~BrowserWaiters() { releaseAll(); }

    // A new token for the resource, which the request owns and closes; 0 when
    // none could be made.
    uint32_t add(uint32_t urlResId);
    // The resource's download has been processed: every waiter wakes.
    void wake(uint32_t urlResId);
    // Wakes the waiter whose kept signal is the token; false when none is
    // (a request's token is always a duplicate, so it never is).
    bool abortWaiting(uint32_t token);
    // Project close: every waiter wakes.
    void releaseAll();
    bool waiting(uint32_t urlResId) const { return signals_.count(urlResId) != 0; }

private:
    std::map<uint32_t, std::unique_ptr<WaitToken>> signals_;
};

}  // namespace eng
