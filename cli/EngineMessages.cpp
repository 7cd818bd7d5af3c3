#include "EngineMessages.h"

#include <mutex>

#include "engine.h"

namespace lark {

namespace {
std::mutex textsMutex;
}  // namespace

EngineMessages::EngineMessages() {
    EngUiHost host{};
    host.context = this;
    host.messageBox = &EngineMessages::messageBox;
    Eng_SetUiHost(&host);
}

EngineMessages::~EngineMessages() { Eng_SetUiHost(nullptr); }

void EngineMessages::messageBox(void *context, const char *, const char *text, uint32_t) {
    std::lock_guard lock(textsMutex);
    static_cast<EngineMessages *>(context)->texts_.push_back(text ? text : "");
}

std::string EngineMessages::summary(const std::string &fallback) const {
    std::lock_guard lock(textsMutex);
    if (texts_.empty()) return fallback;
    std::string joined;
    for (const std::string &t : texts_) joined += (joined.empty() ? "" : "; ") + t;
    return joined;
}

}  // namespace lark
