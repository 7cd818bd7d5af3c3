#pragma once

#include <string>

#include "engine.h"

namespace lark {

// The properties as lark shows and edits them: the record with its strings
// copied out.
struct Properties {
    EngProjectProps raw{};
    std::string note, filter, userText, httpProxy, ftpProxy;
};

// The open project's properties (a Failure when they cannot be read).
Properties readProperties();
// Replaces them (a Failure with the engine's words when it refuses).
void writeProperties(Properties p);

}  // namespace lark
