#pragma once

#include <stdexcept>
#include <string>

namespace eng {

// An error reported by the database library, with its message text.
class CDatabaseException : public std::runtime_error {
public:
    explicit CDatabaseException(const std::string &text) : std::runtime_error(text) {}
};

}  // namespace eng
