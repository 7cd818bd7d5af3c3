#include "sys/UiHost.h"

#include <cstdio>
#include <mutex>
#include <optional>

namespace eng {

namespace {
std::mutex hostMutex;
std::optional<EngUiHost> registeredHost;
}  // namespace

void setUiHost(const EngUiHost *host) {
    std::lock_guard lock(hostMutex);
    if (host)
        registeredHost = *host;
    else
        registeredHost.reset();
}

void showEngineMessage(const std::string &text) {
    std::optional<EngUiHost> host;
    {
        std::lock_guard lock(hostMutex);
        host = registeredHost;
    }
    if (host && host->messageBox) {
        host->messageBox(host->context, kEngineCaption, text.c_str(), ENG_MB_ICONEXCLAMATION | ENG_MB_TOPMOST);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", kEngineCaption, text.c_str());
}

}  // namespace eng
