#pragma once

#include <string>
#include <string_view>

namespace eng {

// The text with every "%XX" escape (two hexadecimal digits) of a byte from
// `lowest` up turned into its byte; other escapes, and a '%' without two
// digits after it, stay as written.
std::string percentDecoded(std::string_view text, unsigned char lowest = 0);

}  // namespace eng
