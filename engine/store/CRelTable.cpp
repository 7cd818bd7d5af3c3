#include "store/CRelTable.h"

namespace eng {

CRelTable::CRelTable(Database &db)
    : CTable(db, "Rel",
             {
                 {"ResId", &RelRow::resId},
                 {"UrlId", &RelRow::urlId},
                 {"PostId", &RelRow::postId},
                 {"Relation", &RelRow::relation},
             },
             {{"ResId", {"ResId"}}, {"UrlId", {"UrlId", "PostId"}}}, "") {}

}  // namespace eng
