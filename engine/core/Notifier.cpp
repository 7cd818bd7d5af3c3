#include "core/Notifier.h"

namespace eng {

void Notifier::post(uint32_t message, const std::function<void(MemoryStream &)> &write) const {
    if (!window_) return;
    MemoryStream payload;
    write(payload);
    // The stream keeps ownership of the buffer and strings until the post
    // has succeeded, so that a refused post releases them instead of leaking.
    if (window_->post(window_, message, payload.length(), reinterpret_cast<intptr_t>(payload.data()))) payload.detach();
}

void Notifier::postValue(uint32_t message, uintptr_t wParam) const {
    if (window_) window_->post(window_, message, wParam, 0);
}

}  // namespace eng
