#pragma once

#include <string>
#include <vector>

namespace lark {

// lark filter-test PROJECT TASK URL [--kind N]
int testTaskFilter(const std::vector<std::string> &words);

}  // namespace lark
