#include "TaskRecords.h"

#include "Failure.h"
#include "RecordBuffer.h"
#include "engine.h"

namespace lark {

namespace {

using eng::client::text;

std::vector<TaskEntry> entriesOf(const eng::client::RecordBuffer<EngTaskRecord> &tasks) {
    std::vector<TaskEntry> out;
    for (const EngTaskRecord &r : tasks)
        out.push_back({r.id, r.state, r.queued, r.retrieved, r.depth, r.errorCount, r.folder, text(r.url), text(r.name),
                       text(r.filter)});
    return out;
}

}  // namespace

std::vector<TaskEntry> folderTasks(uint32_t folder) {
    return entriesOf(eng::client::receiveRecords<EngTaskRecord>(Eng_FreeMem, Eng_GetFolderTasks, folder));
}

TaskEntry existingTask(uint32_t id) {
    const std::vector<TaskEntry> found =
        entriesOf(eng::client::receiveRecords<EngTaskRecord>(Eng_FreeMem, Eng_GetTaskFromID, id));
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
