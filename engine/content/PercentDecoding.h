#pragma once

#include <string>
#include <string_view>

namespace eng {

// The text with every "%XX" escape (two hexadecimal digits) turned into its
// byte; a '%' without two digits after it stays as written.
std::string percentDecoded(std::string_view text);

}  // namespace eng
