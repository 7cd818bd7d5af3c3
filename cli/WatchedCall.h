#pragma once

#include <cstdint>
#include <functional>

#include "WindowQueue.h"

namespace lark {

// What a watched engine call answered, and the seconds it took.
struct WatchedResult {
    int32_t result = 0;
    double seconds = 0;
};

// Runs an engine call that waits for its command (indexing, an export) on a
// thread of its own, while this thread takes the window's notifications,
// hands each to `take` and calls `show` a few times a second; the
// notifications left when the call returns are taken too.
WatchedResult watchedCall(WindowQueue &window, const std::function<int32_t()> &call,
                          const std::function<void(const Posted &)> &take, const std::function<void()> &show);

}  // namespace lark
