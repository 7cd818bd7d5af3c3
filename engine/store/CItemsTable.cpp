#include "store/CItemsTable.h"

namespace eng {

CItemsTable::CItemsTable(Database &db)
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
             "ItemId", &ItemRow::itemId) {}

}  // namespace eng
