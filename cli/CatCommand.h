#pragma once

#include <string>
#include <vector>

namespace lark {

// lark cat PROJECT URL [--task N] [--date STAMP]: what the browser receives
// for a stored address, through the offline protocol handler.
int catPage(const std::vector<std::string> &words);

}  // namespace lark
