#pragma once

#include <cstdint>
#include <string_view>

namespace eng {

// The hash of addresses, site keys and interned strings: h = h * 33 + b over
// the bytes, each taken as a signed 8-bit value, in 32-bit arithmetic. A hash
// of bytes that come in pieces goes on from the hash of the pieces before.
uint32_t urlHash(std::string_view bytes, uint32_t before = 0);

}  // namespace eng
