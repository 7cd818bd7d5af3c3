#pragma once

#include <cstdint>
#include <functional>

#include "core/MemoryStream.h"
#include "engine.h"

namespace eng {

// Posts notifications to the application's notification window. The payload
// is built only when there is a window to receive it; the receiver owns the
// buffer and its strings from the moment the post succeeds.
class Notifier {
public:
    explicit Notifier(EngWnd *window) : window_(window) {}

    bool hasWindow() const { return window_ != nullptr; }
    // Builds the payload with write() and posts it (wParam = length, lParam = buffer).
    void post(uint32_t message, const std::function<void(MemoryStream &)> &write) const;
    // Posts a notification that carries a value instead of a payload.
    void postValue(uint32_t message, uintptr_t wParam) const;

private:
    EngWnd *window_;
};

}  // namespace eng
