#pragma once

#include <string>

namespace lark {

// A byte count as people read it: "512 bytes", "1.5 KiB", "12.0 MiB".
std::string sizeText(double bytes);

// A span of days as hours, minutes and seconds: "1:02:03".
std::string durationText(double days);

}  // namespace lark
