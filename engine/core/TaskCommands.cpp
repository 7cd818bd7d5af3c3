// The task exports: create, update, delete, list, run, stop and refresh
// tasks, and the notifications of added and changed tasks.
#include "base/CanonicalUrl.h"
#include "core/CAdvTasksTable.h"
#include "core/CommandTable.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "core/Records.h"
#include "core/ResourceRefresh.h"
#include "engine.h"
#include "store/Database.h"
#include "store/StringRef.h"

namespace eng {

namespace {

CAdvTasksTable &tasks(DispatchContext &c) { return c.engine.tasks(); }
CStrTable &strings(DispatchContext &c) { return c.engine.tables().strings; }

std::string text(const char *caller) { return caller ? caller : ""; }

uint32_t keyOf(DispatchContext &c, StringKind kind, const std::string &value) {
    StringRef ref(strings(c), kind);
    ref.setText(value);
    return ref.key();
}

// Fills a task from the application's record; false when its address is
// not one the engine can fetch.
bool applyRecord(DispatchContext &c, TaskRow &task, const EngTaskRecord &in) {
    const std::string address = canonicalUrl(text(in.url));
    if (address.empty()) return false;
    task.levels = std::min<uint32_t>(in.depth, CAdvTasksTable::kMaxDepth);
    task.userAgentId = keyOf(c, StringKind::UserText, text(in.userAgent));
    task.lowGraphics = in.lowGraphics != 0;
    task.acceptableAge = in.acceptableAge;
    task.urlId = keyOf(c, StringKind::Url, address);
    task.postId = keyOf(c, StringKind::FormData, text(in.formData));
    task.filterId = keyOf(c, StringKind::Filter, text(in.filter));
    const std::string name = text(in.name);
    if (name != task.name) task.autoName = false;
    if (name.empty()) task.autoName = true;
    task.name = name;
    task.folderId = in.folder;
    task.noteId = keyOf(c, StringKind::Note, text(in.note));
    task.referer = keyOf(c, StringKind::Url, canonicalUrl(text(in.referer)));
    task.redirectUrl = in.followRedirects != 0;
    return true;
}

const EngTaskRecord *inputRecord(DispatchContext &c) {
    return static_cast<const EngTaskRecord *>(c.args().readCallerAddr());
}

intptr_t createTask(DispatchContext &c) {
    const EngTaskRecord *in = inputRecord(c);
    TaskRow task;
    if (!in || !applyRecord(c, task, *in)) return 0;
    tasks(c).insert(task);
    tasks(c).addItem(task, task.urlId, task.postId, 0, 0, nullptr, false);
    c.setResult(static_cast<int32_t>(task.taskId));
    return 0;
}

intptr_t updateTask(DispatchContext &c) {
    const EngTaskRecord *in = inputRecord(c);
    auto task = in ? tasks(c).load(in->id) : std::nullopt;
    if (!task) return 0;
    const uint32_t address = task->urlId;
    if (!applyRecord(c, *task, *in)) return 0;
    if (task->urlId != address) tasks(c).restart(*task);
    c.setResult(tasks(c).save(*task) ? 1 : 0);
    return 0;
}

intptr_t deleteTask(DispatchContext &c) {
    auto task = tasks(c).load(c.args().readUInt32());
    if (!task) return 0;
    tasks(c).remove(*task);
    c.setResult(1);
    return 0;
}

void writeTasks(DispatchContext &c, const std::vector<TaskRow> &list) {
    MemoryStream &out = c.answer();
    for (const TaskRow &task : list) writeTaskRecord(out, task, strings(c));
}

intptr_t getTaskFromId(DispatchContext &c) {
    auto task = tasks(c).load(c.args().readUInt32());
    writeTasks(c, task ? std::vector<TaskRow>{*task} : std::vector<TaskRow>{});
    return 0;
}

intptr_t findTasks(DispatchContext &c) {
    const std::string address = canonicalUrl(c.args().readCallerText());
    const std::string form = c.args().readCallerText();
    std::vector<TaskRow> found;
    if (!address.empty()) {
        const uint32_t urlId = strings(c).intern(address, StringKind::Url, false);
        const uint32_t postId = strings(c).intern(form, StringKind::FormData, false);
        if (urlId) found = c.engine.tables().tasks.withUrl(urlId, postId);
    }
    writeTasks(c, found);
    return 0;
}

intptr_t getFolderTasks(DispatchContext &c) {
    writeTasks(c, c.engine.tables().tasks.inFolder(c.args().readUInt32()));
    return 0;
}

// Runs (or stops) a task: only between the active and stopped states.
template <uint32_t from, uint32_t to>
intptr_t switchTask(DispatchContext &c) {
    auto task = tasks(c).load(static_cast<uint32_t>(c.message.lParam));
    if (task && task->state == from) {
        task->state = to;
        tasks(c).save(*task);
    }
    return 0;
}

intptr_t refreshTask(DispatchContext &c) {
    auto task = tasks(c).load(c.args().readUInt32());
    const int32_t mode = c.args().readInt32();
    if (!task || task->state == ENG_TASK_STOPPED) return 0;
    if (mode & ENG_REFRESH_ALL) {
        if (tasks(c).restart(*task)) c.setResult(1);
    } else if (mode & (ENG_REFRESH_SERVER_ERRORS | ENG_REFRESH_CONNECTION_ERRORS)) {
        const auto kind = static_cast<ErrorKind>(mode & (ENG_REFRESH_SERVER_ERRORS | ENG_REFRESH_CONNECTION_ERRORS));
        for (const UrlResRow &resource : c.engine.tables().urlRes.listErrors(task->taskId, kind))
            refreshResource(c.engine, resource.urlResId, true);
        c.setResult(1);
    }
    return 0;
}

// Refreshes the failed resources of running tasks, of every task. Kinds
// other than 1 to 3 count as every failure.
intptr_t refreshProject(DispatchContext &c) {
    const auto kind = static_cast<ErrorKind>(c.args().readInt32());
    for (const UrlResRow &resource : c.engine.tables().urlRes.listErrors(0, kind))
        refreshResource(c.engine, resource.urlResId, true);
    c.setResult(1);
    return 0;
}

intptr_t countRefreshable(DispatchContext &c) {
    const auto kind = static_cast<ErrorKind>(c.args().readInt32());
    c.setResult(static_cast<int32_t>(c.engine.tables().urlRes.countErrors(kind, true)));
    return 0;
}

intptr_t refreshUrlRes(DispatchContext &c) {
    auto resource = c.engine.tables().urlRes.find(int64_t{c.args().readUInt32()});
    c.setResult(resource && refreshResource(c.engine, resource->urlResId, true) ? 1 : 0);
    return 0;
}

// Takes a resource out of every task that does not have it as its start page.
intptr_t deleteUrlRes(DispatchContext &c) {
    const auto id = static_cast<uint32_t>(c.frame->result);
    c.setResult(0);
    auto resource = c.engine.tables().urlRes.find(int64_t{id});
    if (!resource) return 0;
    for (const ItemRow &item : c.engine.tables().items.withUrlRes(id)) {
        auto task = tasks(c).load(item.taskId);
        if (task && item.itemId == task->mainItemId) continue;
        if (task) {
            tasks(c).itemRemoved(*task, item, *resource);
            tasks(c).save(*task);
        }
        c.engine.tables().items.deleteItem(item, task ? task->state : ENG_TASK_STOPPED);
        c.setResult(1);
    }
    return 0;
}

// Puts an address into the crawl on the application's request.
intptr_t createUrlRes(DispatchContext &c) {
    const std::string address = canonicalUrl(c.args().readCallerText());
    const std::string form = c.args().readCallerText();
    const uint32_t task = c.args().readUInt32();
    if (address.empty()) return 0;
    const uint32_t urlId = strings(c).intern(address, StringKind::Url, true);
    const uint32_t postId = strings(c).intern(form, StringKind::FormData, true);
    const auto resource = tasks(c).addAddress(task, urlId, postId, c.engine.activeFolder(), c.engine.running());
    c.setResult(resource ? 1 : 0);
    return 0;
}

// The items that a filter refused: they have no URL resource.
intptr_t countNotAccepted(DispatchContext &c) {
    const uint32_t task = c.args().readUInt32();
    std::string sql = "SELECT COUNT(*) AS Count FROM Items WHERE Items.UrlresId=0";
    if (task != 0) sql += " AND Items.TaskId=" + std::to_string(task);
    Statement count = c.engine.database().prepare(sql);
    c.setResult(count.step() ? static_cast<int32_t>(count.integer(0)) : 0);
    return 0;
}

intptr_t announceTask(DispatchContext &c, uint32_t notification) {
    const auto *task = reinterpret_cast<const TaskRow *>(c.message.lParam);
    c.engine.notifier().post(notification, [&](MemoryStream &out) { writeTaskRecord(out, *task, strings(c)); });
    return 0;
}

CommandEntry internal(intptr_t (*handler)(DispatchContext &)) {
    return CommandEntry{handler, CommandEntry::Caller::Internal, CommandEntry::Frame::None};
}

}  // namespace

void addTaskCommands(CommandTable &table) {
    table.set(msg::kCreateTask, {createTask});
    table.set(msg::kUpdateTask, {updateTask});
    table.set(msg::kDeleteTask, {deleteTask});
    table.set(msg::kGetTaskFromId, {getTaskFromId});
    table.set(msg::kFindTasks, {findTasks});
    table.set(msg::kGetFolderTasks, {getFolderTasks});
    table.set(msg::kRefreshTask, {refreshTask});
    table.set(msg::kRefreshUrlRes, {refreshUrlRes});
    table.set(msg::kRefreshPrj, {refreshProject});
    table.set(msg::kCountRefreshable, {countRefreshable});
    table.set(msg::kDeleteUrlRes, {deleteUrlRes});
    table.set(msg::kCreateUrlRes, {createUrlRes});
    table.set(msg::kCountNotAcceptedResources, {countNotAccepted});
    using Entry = CommandEntry;
    table.set(msg::kStopTask,
              Entry{switchTask<ENG_TASK_ACTIVE, ENG_TASK_STOPPED>, Entry::Caller::Export, Entry::Frame::None});
    table.set(msg::kRunTask,
              Entry{switchTask<ENG_TASK_STOPPED, ENG_TASK_ACTIVE>, Entry::Caller::Export, Entry::Frame::None});
    table.set(msg::kTaskAdded, internal([](DispatchContext &c) { return announceTask(c, ENG_NOTIFY_TASK_ADDED); }));
    table.set(msg::kTaskChanged, internal([](DispatchContext &c) { return announceTask(c, ENG_NOTIFY_TASK_CHANGED); }));
}

}  // namespace eng
