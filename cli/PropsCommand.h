#pragma once

#include <string>
#include <vector>

namespace lark {

// lark props PROJECT [--set name=value ...]
int projectProps(const std::vector<std::string> &words);

}  // namespace lark
