#pragma once

#include <string>
#include <string_view>

namespace eng {

// A filter's URL pattern as it is matched: one that does not begin with "*"
// gets a "*" in front, unless the text before a "://" within its first eight
// characters begins with "http", "ftp" or "file" in any letter case. So a
// pattern with such a scheme matches the URLs that begin with it, and any
// other one the URLs that contain it.
std::string completedPattern(std::string_view pattern);

}  // namespace eng
