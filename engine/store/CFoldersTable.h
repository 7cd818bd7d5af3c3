#pragma once

#include "store/CTable.h"

namespace eng {

struct FolderRow {
    uint32_t folderId = 0;
    uint32_t parentId = 0;
    std::string name;
};

// Table Folders: the folder tree; folder 1 is the root.
class CFoldersTable : public CTable<FolderRow> {
public:
    explicit CFoldersTable(Database &db);
    std::vector<FolderRow> children(uint32_t parent) { return rows("ParentId", {int64_t{parent}}); }
};

}  // namespace eng
