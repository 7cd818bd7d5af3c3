#include "store/ItemResourceQuery.h"

namespace eng {

void ItemResourceQuery::ofTask(uint32_t task, const Visit &visit) {
    // The order of the TaskUrl index, which CItemsTable::ofTask follows.
    Statement &s = prepared(byTask_, R"("Items"."TaskId" = ? ORDER BY "Items"."TaskId", "Items"."UrlId", )"
                                     R"("Items"."PostId", "Items".rowid)");
    s.bind(1, int64_t{task});
    visitRows(s, visit);
}

void ItemResourceQuery::ofItem(uint32_t item, const Visit &visit) {
    Statement &s = prepared(byItem_, R"("Items"."ItemId" = ?)");
    s.bind(1, int64_t{item});
    visitRows(s, visit);
}

Statement &ItemResourceQuery::prepared(std::optional<Statement> &statement, const std::string &condition) {
    // A key of 0 names no string (textOf gives an empty text for it).
    if (!statement)
        statement = db_.prepare(
            "SELECT " + items_.selectList() + ", " + urlRes_.selectList() +
            R"(, "Address"."String", "Form"."String" FROM "Items" )"
            R"(JOIN "UrlRes" ON "UrlRes"."UrlResId" = "Items"."UrlResId" )"
            R"(LEFT JOIN "Strings" AS "Address" ON "Address"."StrId" = "UrlRes"."UrlId" AND "UrlRes"."UrlId" <> 0 )"
            R"(LEFT JOIN "Strings" AS "Form" ON "Form"."StrId" = "UrlRes"."PostId" AND "UrlRes"."PostId" <> 0 )"
            R"(WHERE "Items"."UrlResId" <> 0 AND )" +
            condition);
    return *statement;
}

void ItemResourceQuery::visitRows(Statement &s, const Visit &visit) {
    const int resourceColumn = items_.columnsPerRow();
    const int addressColumn = resourceColumn + urlRes_.columnsPerRow();
    const ResetAfter reset(s);
    ItemWithResource row;
    while (s.step()) {
        row.item = items_.readRow(s);
        row.resource = urlRes_.readRow(s, resourceColumn);
        row.url = strings_.completed(row.resource.urlId, s.text(addressColumn));
        row.formData = strings_.completed(row.resource.postId, s.text(addressColumn + 1));
        visit(row);
    }
}

}  // namespace eng
