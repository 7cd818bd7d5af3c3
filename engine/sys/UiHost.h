#pragma once

#include <string>

#include "engine.h"

namespace eng {

inline constexpr const char *kEngineCaption = "Lark Engine";

// Registers the application's user-interface services (null removes them).
void setUiHost(const EngUiHost *host);

// Shows an engine message box: caption "Lark Engine", exclamation icon,
// topmost. Without a host the text goes to standard error.
void showEngineMessage(const std::string &text);

}  // namespace eng
