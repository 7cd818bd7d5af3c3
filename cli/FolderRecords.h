#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lark {

// A folder of the open project as the engine lists it.
struct FolderEntry {
    uint32_t id;
    uint32_t subfolders;
    std::string name;
};

// The direct subfolders of a folder (0 lists the root).
std::vector<FolderEntry> subFolders(uint32_t parent);
// Whether the open project has a folder with this number.
bool folderExists(uint32_t folder);
// Visits every folder of the tree, each parent before its subfolders, with
// its depth (0 for the root).
void walkFolders(const std::function<void(const FolderEntry &, int depth)> &visit);

}  // namespace lark
