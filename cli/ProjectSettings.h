#pragma once

#include "ProjectProps.h"

namespace lark {

// The open project's properties (a Failure when they cannot be read).
eng::client::ProjectProps readProperties();
// Replaces them (a Failure with the engine's words when it refuses).
void writeProperties(const eng::client::ProjectProps &props);

}  // namespace lark
