#pragma once

#include <string>
#include <vector>

namespace lark {

// lark ping PROJECT HOST... [--for S]: pings the hosts from the project's
// engine for S seconds (4 by default: past the first evaluation), shows
// each online verdict the engine announces, then each host's last result.
int pingHosts(const std::vector<std::string> &words);

}  // namespace lark
