#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace eng {

// Text cut to a column's maximum length in bytes, never in the middle of a
// UTF-8 sequence (and never shorter than the length less three bytes).
std::string fitText(std::string_view text, size_t maxLength);

}  // namespace eng
