// Moving tasks between projects: each task with its items, their URL
// resources and bodies, through three transfer archives.
#include <set>

#include "core/CAdvTasksTable.h"
#include "core/CommandTable.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "core/ResourceTransfer.h"
#include "engine.h"

namespace eng {

namespace {

void writeTask(ArchiveWriter &a, CStrTable &s, const TaskRow &t) {
    a.writeUInt32(t.taskId);
    a.writeString(s.textOf(t.urlId));
    a.writeString(s.textOf(t.postId));
    a.writeString(s.textOf(t.userAgentId));
    a.writeUInt32(t.queued);
    a.writeUInt32(t.retrieved);
    a.writeUInt32(t.levels);
    a.writeUInt32(t.state);
    a.writeDate(toArchiveDate(t.acceptableAge));
    a.writeDate(toArchiveDate(t.created));
    a.writeDate(toArchiveDate(t.done));
    a.writeInt32(t.error ? 1 : 0);
    a.writeInt32(t.redirectUrl ? 1 : 0);
    a.writeString(s.textOf(t.filterId));
    a.writeString(s.textOf(t.noteId));
    a.writeString(s.textOf(t.referer));
    a.writeString(t.name);
    a.writeString(t.contentType);
    a.writeUInt32(t.size);
    a.writeUInt32(t.errCode);
    a.writeUInt32(t.mainItemId);
    a.writeByte(t.type);
    a.writeInt16(t.statusCode);
    a.writeInt32(t.autoName ? 1 : 0);
    a.writeUInt32(t.errFiles & 0xFFFF);
    a.writeUInt32(t.errFiles >> 16);
}

TaskRow readTask(ArchiveReader &a, CStrTable &s) {
    auto intern = [&s](const std::string &text, StringKind kind) { return s.intern(text, kind, true); };
    TaskRow t;
    t.taskId = a.readUInt32();
    t.urlId = intern(a.readString(), StringKind::Url);
    t.postId = intern(a.readString(), StringKind::FormData);
    t.userAgentId = intern(a.readString(), StringKind::UserText);
    t.queued = a.readUInt32();
    t.retrieved = a.readUInt32();
    t.levels = a.readUInt32();
    t.state = a.readUInt32();
    t.acceptableAge = fromArchiveDate(a.readDate());
    t.created = fromArchiveDate(a.readDate());
    t.done = fromArchiveDate(a.readDate());
    t.error = a.readInt32() != 0;
    t.redirectUrl = a.readInt32() != 0;
    t.filterId = intern(a.readString(), StringKind::Filter);
    t.noteId = intern(a.readString(), StringKind::Note);
    t.referer = intern(a.readString(), StringKind::Url);
    t.name = a.readString();
    t.contentType = a.readString();
    t.size = a.readUInt32();
    t.errCode = a.readUInt32();
    t.mainItemId = a.readUInt32();
    t.type = a.readByte();
    t.statusCode = a.readInt16();
    t.autoName = a.readInt32() != 0;
    const uint32_t errors = a.readUInt32() & 0xFFFF;
    t.errFiles = errors | (a.readUInt32() << 16);
    return t;
}

void writeItem(ArchiveWriter &a, CStrTable &s, const ItemRow &item) {
    a.writeUInt32(item.itemId);
    a.writeString(s.textOf(item.urlId));
    a.writeString(s.textOf(item.postId));
    a.writeUInt32(item.urlResId);
    a.writeInt32(item.level);
    a.writeDate(toArchiveDate(item.created));
    a.writeUInt32(item.tag);
}

ItemRow readItem(ArchiveReader &a, CStrTable &s) {
    ItemRow item;
    item.itemId = a.readUInt32();
    item.urlId = s.intern(a.readString(), StringKind::Url, true);
    item.postId = s.intern(a.readString(), StringKind::FormData, true);
    item.urlResId = a.readUInt32();
    item.level = static_cast<int16_t>(a.readInt32());
    item.created = fromArchiveDate(a.readDate());
    item.tag = a.readUInt32();
    return item;
}

void storeTasks(DispatchContext &c, ArchiveWriter &tasks, ArchiveWriter &resources, ArchiveWriter &bodies,
                const std::vector<uint32_t> &ids) {
    ProjectTables &t = c.engine.tables();
    std::vector<uint32_t> used;
    std::set<uint32_t> seen;
    for (uint32_t id : ids) {
        auto task = c.engine.tasks().load(id);
        if (!task) throw CEngineException("Task table serialization error!");
        writeTask(tasks, t.strings, *task);
        const std::vector<ItemRow> items = t.items.ofTask(id);
        tasks.writeCount(static_cast<int32_t>(items.size()));
        for (const ItemRow &item : items) {
            writeItem(tasks, t.strings, item);
            if (item.urlResId && seen.insert(item.urlResId).second) used.push_back(item.urlResId);
        }
    }
    tasks.finish();
    storeResources(t, resources, bodies, used);
}

void loadTasks(DispatchContext &c, ArchiveReader &tasks, ArchiveReader &resources, ArchiveReader &bodies,
               uint32_t folder) {
    ProjectTables &t = c.engine.tables();
    const std::map<uint32_t, uint32_t> resourceIds = loadResources(t, resources, bodies);
    std::vector<std::pair<TaskRow, std::map<uint32_t, uint32_t>>> loaded;  // each task with its item ids
    while (tasks.nextRecord()) {
        TaskRow task = readTask(tasks, t.strings);
        c.engine.tasks().insert(task);
        std::map<uint32_t, uint32_t> itemIds;
        const int32_t count = tasks.readCount();
        for (int32_t i = 0; i < count; ++i) {
            ItemRow item = readItem(tasks, t.strings);
            const uint32_t oldId = item.itemId;
            auto resource = resourceIds.find(item.urlResId);
            item.itemId = 0;
            item.taskId = task.taskId;
            item.urlResId = resource == resourceIds.end() ? 0 : resource->second;
            itemIds[oldId] = t.items.addItem(item);
        }
        loaded.emplace_back(task, std::move(itemIds));
    }
    for (auto &[task, itemIds] : loaded) {
        task.folderId = folder;
        auto main = itemIds.find(task.mainItemId);
        task.mainItemId = main == itemIds.end() ? 0 : main->second;
        c.engine.tasks().save(task);
        if (task.state == ENG_TASK_STOPPED) continue;
        Statement &runCount = t.queries.get("Update UrlRes RunCount");
        SavedQueries::bind(runCount, "[TASKID_PARAM]", task.taskId);
        runCount.run();
    }
    // Resources that no running task holds wait suspended.
    c.engine.database().execute("UPDATE UrlRes SET State = 5 WHERE (UrlRes.RunCount = 0 AND UrlRes.State = 3)");
    c.engine.send(msg::kQueuedSuspended, 0, static_cast<intptr_t>(c.engine.database().changes()));
}

intptr_t serializeTask(DispatchContext &c) {
    const std::string taskPath = c.args().readCallerText();
    const std::string resourcePath = c.args().readCallerText();
    const std::string bodyPath = c.args().readCallerText();
    const bool storing = c.args().readInt32() != 0;
    const uint32_t folder = c.args().readUInt32();
    const auto *ids = static_cast<const uint32_t *>(c.args().readCallerAddr());
    const uint32_t count = c.args().readUInt32();
    if (storing) {
        auto files = openArchives<ArchiveWriter>({taskPath, resourcePath, bodyPath});
        if (files.empty()) return 0;
        storeTasks(c, *files[0], *files[1], *files[2],
                   ids ? std::vector<uint32_t>(ids, ids + count) : std::vector<uint32_t>{});
    } else {
        auto files = openArchives<ArchiveReader>({taskPath, resourcePath, bodyPath});
        if (files.empty()) return 0;
        loadTasks(c, *files[0], *files[1], *files[2], folder);
    }
    c.setResult(1);
    return 0;
}

}  // namespace

void addTaskTransfer(CommandTable &table) { table.set(msg::kSerializeTask, {serializeTask}); }

}  // namespace eng
