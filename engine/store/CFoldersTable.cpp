#include "store/CFoldersTable.h"

namespace eng {

CFoldersTable::CFoldersTable(Database &db)
    : CTable(db, "Folders", {{"ParentId", &FolderRow::parentId}, {"Name", &FolderRow::name, 50}},
             {{"PrimaryKey", {"FolderId"}}, {"ParentId", {"ParentId"}}}, "FolderId", &FolderRow::folderId) {}

}  // namespace eng
