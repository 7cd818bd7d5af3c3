#include "FolderRecords.h"

#include <set>

#include "RecordBuffer.h"
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
    std::vector<FolderEntry> out;
    for (const EngFolderRecord &r :
         eng::client::receiveRecords<EngFolderRecord>(Eng_FreeMem, Eng_GetSubFolders, parent))
        out.push_back({r.folder, r.subfolders, eng::client::text(r.name)});
    return out;
}

bool folderExists(uint32_t folder) {
    return !eng::client::receiveRecords<EngFolderRecord>(Eng_FreeMem, Eng_GetFolder, folder).empty();
}

void walkFolders(const std::function<void(const FolderEntry &, int depth)> &visit) {
    std::set<uint32_t> seen;
    walkBelow(0, 0, visit, seen);
}

}  // namespace lark
