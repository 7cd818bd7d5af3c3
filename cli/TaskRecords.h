#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lark {

// A task of the open project as lark shows it, copied out of the engine's record.
struct TaskEntry {
    uint32_t id, state, queued, retrieved, depth, errors, folder;
    std::string url, name, filter;
};

// The tasks of one folder.
std::vector<TaskEntry> folderTasks(uint32_t folder);
// The task with this number, or a Failure "there is no task N".
TaskEntry existingTask(uint32_t id);
// "complete", "active" or "stopped" (the number of any other state).
std::string taskStateWord(uint32_t state);

}  // namespace lark
