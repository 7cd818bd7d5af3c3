// The folder tree's commands: create, rename, move and delete folders, and
// list them as folder records.
#include <unordered_set>

#include "core/CommandTable.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "store/ProjectTables.h"

namespace eng {

namespace {

constexpr uint32_t kRootFolder = 1;

CFoldersTable &folders(DispatchContext &c) { return c.engine.tables().folders; }

void writeFolder(MemoryStream &out, CFoldersTable &table, const FolderRow &row) {
    EngFolderRecord record{};
    record.folder = row.folderId;
    record.parent = row.parentId;
    record.subfolders = static_cast<uint32_t>(table.children(row.folderId).size());
    record.name = out.newString(row.name);
    out.writeRecord(record);
}

// True when `folder` is `ancestor` or lies below it.
bool isWithin(CFoldersTable &table, uint32_t folder, uint32_t ancestor) {
    std::unordered_set<uint32_t> seen;  // a damaged tree may already hold a loop
    while (folder != 0 && seen.insert(folder).second) {
        if (folder == ancestor) return true;
        auto row = table.find(int64_t{folder});
        if (!row) return false;
        folder = row->parentId;
    }
    return false;
}

intptr_t createFolder(DispatchContext &c) {
    FolderRow row;
    row.parentId = c.args().readUInt32();
    row.name = c.args().readCallerText();
    c.setResult(static_cast<int32_t>(folders(c).add(row)));
    return 0;
}

intptr_t deleteFolder(DispatchContext &c) {
    const uint32_t id = c.args().readUInt32();
    if (id == kRootFolder || !folders(c).find(int64_t{id})) return 0;
    folders(c).remove(int64_t{id});
    c.setResult(1);
    return 0;
}

intptr_t renameFolder(DispatchContext &c) {
    const uint32_t id = c.args().readUInt32();
    const std::string name = c.args().readCallerText();
    auto row = folders(c).find(int64_t{id});
    if (!row) return 0;
    row->name = name;
    folders(c).edit(*row);
    c.setResult(1);
    return 0;
}

// A folder cannot move under itself or one of its own subfolders: that would
// cut it and everything in it off the tree.
intptr_t moveFolder(DispatchContext &c) {
    const uint32_t id = c.args().readUInt32();
    const uint32_t parent = c.args().readUInt32();
    auto row = folders(c).find(int64_t{id});
    if (id == kRootFolder || !row || isWithin(folders(c), parent, id)) return 0;
    row->parentId = parent;
    folders(c).edit(*row);
    c.setResult(1);
    return 0;
}

intptr_t getSubFolders(DispatchContext &c) {
    const uint32_t parent = c.args().readUInt32();
    MemoryStream &out = c.answer();
    for (const FolderRow &child : folders(c).children(parent)) writeFolder(out, folders(c), child);
    return 0;
}

intptr_t getFolder(DispatchContext &c) {
    const uint32_t id = c.args().readUInt32();
    MemoryStream &out = c.answer();
    if (auto row = folders(c).find(int64_t{id})) writeFolder(out, folders(c), *row);
    return 0;
}

}  // namespace

static_assert(sizeof(EngFolderRecord) == 12 + sizeof(char *));

void addFolderCommands(CommandTable &table) {
    table.set(msg::kCreateFolder, {createFolder});
    table.set(msg::kDeleteFolder, {deleteFolder});
    table.set(msg::kRenameFolder, {renameFolder});
    table.set(msg::kMoveFolder, {moveFolder});
    table.set(msg::kGetSubFolders, {getSubFolders});
    table.set(msg::kGetFolder, {getFolder});
}

}  // namespace eng
