#pragma once

#include <string>
#include <vector>

namespace lark {

// lark add PROJECT URL [--depth N] [--name T] [--filter TEXT] [--folder ID] [--agent UA] [--age DAYS] [--post DATA]
int addTask(const std::vector<std::string> &words);
// lark rm PROJECT TASK
int removeTask(const std::vector<std::string> &words);
// lark stop PROJECT TASK
int stopTask(const std::vector<std::string> &words);
// lark start PROJECT TASK
int startTask(const std::vector<std::string> &words);

}  // namespace lark
