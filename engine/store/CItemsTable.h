#pragma once

#include "base/DateTime.h"
#include "store/CAdvUrlResTable.h"
#include "store/CStrTable.h"
#include "store/CTable.h"

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

// Table Items: which addresses each task holds, at what link depth, and the
// URL resource with the latest fetch of each. An item holds a reference on
// its two strings and on its URL resource.
class CItemsTable : public CTable<ItemRow> {
public:
    // A stopped task's items do not count toward their resources' run counts.
    static constexpr uint32_t kStoppedTask = 5;

    CItemsTable(Database &db, CStrTable &strings, CAdvUrlResTable &urlRes);

    // A new item, not yet stored, created now.
    static ItemRow make(uint32_t task, uint32_t urlId, uint32_t postId, int16_t level, uint32_t tag);
    // Stores the item with its references; returns the new key.
    uint32_t addItem(ItemRow &item);
    // Rewrites a stored item, moving references whose keys changed; false when it is missing.
    bool updateItem(const ItemRow &item);
    // Deletes the item and drops its references (and its run count, unless
    // its task is stopped).
    void deleteItem(const ItemRow &item, uint32_t taskState);

    std::optional<ItemRow> inTask(uint32_t task, uint32_t urlId, uint32_t postId) {
        return seek("TaskUrl", {int64_t{task}, int64_t{urlId}, int64_t{postId}});
    }
    // A task's items, by address.
    std::vector<ItemRow> ofTask(uint32_t task) { return rows("TaskUrl", {int64_t{task}}); }
    std::vector<ItemRow> atLevel(uint32_t task, int16_t level) {
        return rows("TaskLevel", {int64_t{task}, int64_t{level}});
    }
    std::vector<ItemRow> withUrlRes(uint32_t urlResId) { return rows("UrlResId", {int64_t{urlResId}}); }

private:
    CStrTable &strings_;
    CAdvUrlResTable &urlRes_;
};

}  // namespace eng
