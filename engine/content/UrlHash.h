#pragma once

#include <cstdint>
#include <string_view>

namespace eng {

// The hash of addresses, site keys and interned strings: h = h * 33 + b over
// the bytes, each taken as a signed 8-bit value, in 32-bit arithmetic.
uint32_t urlHash(std::string_view bytes);

}  // namespace eng
