#pragma once

#include <stdexcept>
#include <string>

namespace eng {

// The engine's own error: one message text, shown to the user by the
// dispatcher that catches it.
class CEngineException : public std::runtime_error {
public:
    explicit CEngineException(const std::string &text) : std::runtime_error(text) {}
};

}  // namespace eng
