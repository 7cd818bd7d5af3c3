#pragma once

#include <string>
#include <vector>

namespace lark {

// lark export PROJECT TASK DIR [--html-ext] [--length N]: writes the task's
// stored files into DIR as browsable files, showing the progress and then
// what was written.
int exportTask(const std::vector<std::string> &words);

}  // namespace lark
