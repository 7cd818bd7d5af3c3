#include "FolderRecords.h"

#include <set>

#include "engine.h"

namespace lark {

namespace {

void walkBelow(uint32_t parent, int depth, const std::function<void(const FolderEntry &, int)> &visit,
               std::set<uint32_t> &seen) {
    for (const FolderEntry &f : subFolders(parent)) {
        if (!seen.insert(f.id).second) continue;  // never loop on a damaged tree
        visit(f, depth);
        if (f.subfolders) walkBelow(f.id, depth + 1, visit, seen);
    }
}

}  // namespace

std::vector<FolderEntry> subFolders(uint32_t parent) {
    void *addr = nullptr;
    uint32_t len = 0;
    Eng_GetSubFolders(parent, &addr, &len);
    std::vector<FolderEntry> out;
    auto *records = static_cast<EngFolderRecord *>(addr);
    for (size_t i = 0; i < len / sizeof(EngFolderRecord); ++i) {
        out.push_back({records[i].folder, records[i].subfolders, records[i].name});
        Eng_FreeMem(records[i].name);
    }
    Eng_FreeMem(addr);
    return out;
}

bool folderExists(uint32_t folder) {
    void *addr = nullptr;
    uint32_t len = 0;
    Eng_GetFolder(folder, &addr, &len);
    if (len == 0) return false;
    Eng_FreeMem(static_cast<EngFolderRecord *>(addr)->name);
    Eng_FreeMem(addr);
    return true;
}

void walkFolders(const std::function<void(const FolderEntry &, int depth)> &visit) {
    std::set<uint32_t> seen;
    walkBelow(0, 0, visit, seen);
}

}  // namespace lark
