#pragma once

#include <cstdint>

namespace eng {

// A signal that crosses the library boundary as a number: an eventfd whose
// duplicates (one per waiting browser request) all become readable when it
// is signalled, and stay readable, so that every waiter wakes. The engine
// keeps the original; each request gets a duplicate to poll and close.
class WaitToken {
public:
    WaitToken();
    WaitToken(const WaitToken &) = delete;
    WaitToken &operator=(const WaitToken &) = delete;
    ~WaitToken();

    // A new descriptor for the same signal, owned by the caller; -1 when
    // none could be made.
    int duplicate() const;
    void signal();
    int descriptor() const { return fd_; }

    // Waits on a duplicate for at most the time given: true once signalled.
    static bool waitFor(int descriptor, int milliseconds);

private:
    int fd_;
};

}  // namespace eng
