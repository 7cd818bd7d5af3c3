#pragma once

#include <string>
#include <vector>

namespace lark {

// lark links FILE [--base URL]: the links a page holds, with their kinds.
int listLinks(const std::vector<std::string> &words);

}  // namespace lark
