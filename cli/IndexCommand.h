#pragma once

#include <string>
#include <vector>

namespace lark {

// lark index PROJECT: indexes the words of every stored page and text that is
// not indexed yet, showing the progress and then what was done.
int indexProject(const std::vector<std::string> &words);

}  // namespace lark
