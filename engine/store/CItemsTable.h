#pragma once

#include "store/CTable.h"
#include "sys/DateTime.h"

namespace eng {

struct ItemRow {
    uint32_t itemId = 0;
    uint32_t taskId = 0;
    uint32_t urlId = 0;
    uint32_t postId = 0;
    uint32_t urlResId = 0;
    int16_t level = 0;
    Date created = 0;
    uint32_t tag = 0;
};

// Table Items: the URL resources that belong to each task.
class CItemsTable : public CTable<ItemRow> {
public:
    explicit CItemsTable(Database &db);
    // A task's items, by level.
    std::vector<ItemRow> ofTask(uint32_t task) { return rows("TaskLevel", {int64_t{task}}); }
    std::optional<ItemRow> inTask(uint32_t task, uint32_t urlId, uint32_t postId) {
        return seek("TaskUrl", {int64_t{task}, int64_t{urlId}, int64_t{postId}});
    }
    std::vector<ItemRow> withUrlRes(uint32_t urlResId) { return rows("UrlResId", {int64_t{urlResId}}); }
};

}  // namespace eng
