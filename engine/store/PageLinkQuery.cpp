#include "store/PageLinkQuery.h"

namespace eng {

std::vector<LinkWithItem> PageLinkQuery::linksOf(uint32_t resId, uint32_t task) {
    // The item is the first in the order of the TaskUrl index, as a seek finds it.
    if (!statement_)
        statement_ = db_.prepare(
            "SELECT " + rel_.selectList() + ", " + items_.selectList() +
            R"( FROM "Rel" INDEXED BY "Rel.ResId" LEFT JOIN "Items" ON "Items"."ItemId" = )"
            R"((SELECT "Known"."ItemId" FROM "Items" AS "Known" INDEXED BY "Items.TaskUrl" )"
            R"(WHERE "Known"."TaskId" = ?1 AND "Known"."UrlId" = "Rel"."UrlId" AND "Known"."PostId" = "Rel"."PostId" )"
            R"(ORDER BY "Known"."TaskId", "Known"."UrlId", "Known"."PostId", "Known".rowid LIMIT 1) )"
            R"(WHERE "Rel"."ResId" = ?2 ORDER BY "Rel"."ResId", "Rel".rowid)");
    Statement &s = *statement_;
    s.bind(1, int64_t{task}).bind(2, int64_t{resId});
    const int itemColumn = rel_.columnsPerRow();
    std::vector<LinkWithItem> links;
    const ResetAfter reset(s);
    while (s.step()) {
        LinkWithItem &row = links.emplace_back();
        row.link = rel_.readRow(s);
        if (!s.isNull(itemColumn)) row.item = items_.readRow(s, itemColumn);
    }
    return links;
}

}  // namespace eng
