#include "TaskRecords.h"

#include "Failure.h"
#include "RecordRelease.h"
#include "engine.h"

namespace lark {

namespace {

// Copies the tasks out of a buffer of records, then releases every string
// of each record and the buffer.
std::vector<TaskEntry> tasksIn(void *addr, uint32_t len) {
    std::vector<TaskEntry> out;
    auto *records = static_cast<EngTaskRecord *>(addr);
    for (size_t i = 0; i < len / sizeof(EngTaskRecord); ++i) {
        const EngTaskRecord &r = records[i];
        out.push_back({r.id, r.state, r.queued, r.retrieved, r.depth, r.errorCount, r.folder, r.url, r.name, r.filter});
        eng::releaseRecordStrings(r, Eng_FreeMem);
    }
    Eng_FreeMem(addr);
    return out;
}

}  // namespace

std::vector<TaskEntry> folderTasks(uint32_t folder) {
    void *addr = nullptr;
    uint32_t len = 0;
    Eng_GetFolderTasks(folder, &addr, &len);
    return tasksIn(addr, len);
}

TaskEntry existingTask(uint32_t id) {
    void *addr = nullptr;
    uint32_t len = 0;
    Eng_GetTaskFromID(id, &addr, &len);
    const std::vector<TaskEntry> found = tasksIn(addr, len);
    if (found.empty()) throw Failure("there is no task " + std::to_string(id));
    return found.front();
}

std::string taskStateWord(uint32_t state) {
    switch (state) {
        case ENG_TASK_COMPLETE:
            return "complete";
        case ENG_TASK_ACTIVE:
            return "active";
        case ENG_TASK_STOPPED:
            return "stopped";
        default:
            return std::to_string(state);
    }
}

}  // namespace lark
