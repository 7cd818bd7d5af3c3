#include "store/CItemsTable.h"

namespace eng {

CItemsTable::CItemsTable(Database &db, CStrTable &strings, CAdvUrlResTable &urlRes)
    : CTable(db, "Items",
             {
                 {"TaskId", &ItemRow::taskId},
                 {"UrlId", &ItemRow::urlId},
                 {"PostId", &ItemRow::postId},
                 {"UrlResId", &ItemRow::urlResId},
                 {"Level", &ItemRow::level},
                 {"Created", &ItemRow::created},
                 {"Tag", &ItemRow::tag},
             },
             {{"PrimaryKey", {"ItemId"}},
              {"TaskLevel", {"TaskId", "Level"}},
              {"TaskUrl", {"TaskId", "UrlId", "PostId"}},
              {"UrlResId", {"UrlResId"}}},
             "ItemId", &ItemRow::itemId),
      strings_(strings),
      urlRes_(urlRes) {}

ItemRow CItemsTable::make(uint32_t task, uint32_t urlId, uint32_t postId, int16_t level, uint32_t tag) {
    ItemRow item;
    item.taskId = task;
    item.urlId = urlId;
    item.postId = postId;
    item.level = level;
    item.tag = tag;
    item.created = now();
    return item;
}

uint32_t CItemsTable::addItem(ItemRow &item) {
    strings_.addReference(item.urlId);
    strings_.addReference(item.postId);
    urlRes_.addReference(item.urlResId);
    return add(item);
}

bool CItemsTable::updateItem(const ItemRow &item) {
    auto stored = find(int64_t{item.itemId});
    if (!stored) return false;
    edit(item);
    if (stored->urlResId != item.urlResId) {
        urlRes_.addReference(item.urlResId);
        urlRes_.release(stored->urlResId);
    }
    for (auto field : {&ItemRow::urlId, &ItemRow::postId}) {
        if ((*stored).*field == item.*field) continue;
        strings_.addReference(item.*field);
        strings_.release((*stored).*field);
    }
    return true;
}

void CItemsTable::deleteItem(const ItemRow &item, uint32_t taskState) {
    if (!find(int64_t{item.itemId})) return;
    remove(int64_t{item.itemId});
    strings_.release(item.urlId);
    strings_.release(item.postId);
    if (taskState != kStoppedTask) urlRes_.changeRunCount(item.urlResId, false);
    urlRes_.release(item.urlResId);
}

}  // namespace eng
