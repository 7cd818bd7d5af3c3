#pragma once

#include <cstdint>
#include <string>

namespace eng {

// The text for an error code: "Ok." for 0, the Internet library's texts for
// 12000-12171, the system's texts for the rest, "Unknown error" when nothing
// is known; never with leading or trailing white space.
std::string errorText(uint32_t code);

}  // namespace eng
