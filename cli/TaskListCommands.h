#pragma once

#include <string>
#include <vector>

namespace lark {

// lark tasks PROJECT [--folder ID]
int listTasks(const std::vector<std::string> &words);
// lark items PROJECT TASK
int listItems(const std::vector<std::string> &words);

}  // namespace lark
