#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "EngineBuffer.h"
#include "engine.h"

// The project properties as one typed value, read with Eng_GetProjectProp
// and written with Eng_SetProjectProp (as the client has them).
namespace eng::client {

// The fields of EngProjectProps, with its strings as texts. The engine keeps
// each within its limits (time-out up to 600 s, pause up to 60 s, up to 100
// connections, 10 per server and 100 retries); the proxies count only when
// proxyAccess is 3, written "host[:port[:user[:password]]]" and read back
// "host[:port]".
struct ProjectProps {
    uint32_t optionFlags = 0;  // ENG_OPTION_*
    uint16_t timeout = 0;
    uint16_t pause = 0;
    uint16_t maxConnections = 0;
    uint16_t maxPerServer = 0;
    uint16_t retries = 0;
    std::string note;
    std::string filter;
    std::string userText;
    uint32_t proxyAccess = 0;
    std::string httpProxy;
    std::string ftpProxy;

    bool operator==(const ProjectProps &) const = default;
};

// The open project's properties; nothing when the engine gives none (no
// project open) or answers with anything but one whole record. The engine's
// buffer and strings are released either way.
std::optional<ProjectProps> readProjectProps(decltype(&Eng_GetProjectProp) get, FreeMem freeMem);

// Replaces the open project's properties; true when the engine took them.
bool writeProjectProps(decltype(&Eng_SetProjectProp) set, const ProjectProps &props);

}  // namespace eng::client
