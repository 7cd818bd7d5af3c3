#pragma once

#include <set>
#include <string>
#include <vector>

namespace lark {

class Arguments;

// The options that describe a new task.
inline const std::set<std::string> kTaskOptions = {"depth", "name", "filter", "folder", "agent", "age", "post"};

// Creates a task for the address in the open project from the task options
// given, its filter followed by the extra filter entries; its number. A
// Failure when the engine refuses it.
uint32_t createTaskFrom(const Arguments &args, const std::string &url, const std::string &extraFilter = "");

// lark add PROJECT URL [--depth N] [--name T] [--filter TEXT] [--folder ID] [--agent UA] [--age DAYS] [--post DATA]
int addTask(const std::vector<std::string> &words);
// lark rm PROJECT TASK
int removeTask(const std::vector<std::string> &words);
// lark stop PROJECT TASK
int stopTask(const std::vector<std::string> &words);
// lark start PROJECT TASK
int startTask(const std::vector<std::string> &words);

}  // namespace lark
