#include "core/BrowserWaiters.h"

namespace eng {

uint32_t BrowserWaiters::add(uint32_t urlResId) {
    auto &signal = signals_[urlResId];
    if (!signal) signal = std::make_unique<WaitToken>();
    const int token = signal->duplicate();
    return token < 0 ? 0 : static_cast<uint32_t>(token);
}

void BrowserWaiters::wake(uint32_t urlResId) {
    const auto found = signals_.find(urlResId);
    if (found == signals_.end()) return;
    found->second->signal();
    signals_.erase(found);
}

bool BrowserWaiters::abortWaiting(uint32_t token) {
    for (auto it = signals_.begin(); it != signals_.end(); ++it) {
        if (static_cast<uint32_t>(it->second->descriptor()) != token) continue;
        it->second->signal();
        signals_.erase(it);
        return true;
    }
    return false;
}

void BrowserWaiters::releaseAll() {
    for (auto &[id, signal] : signals_) signal->signal();
    signals_.clear();
}

}  // namespace eng
