#pragma once

#include "store/CTable.h"

namespace eng {

struct RelRow {
    uint32_t resId = 0;
    uint32_t urlId = 0;
    uint32_t postId = 0;
    uint8_t relation = 0;
};

// Table Rel: the links found in stored bodies.
class CRelTable : public CTable<RelRow> {
public:
    explicit CRelTable(Database &db);
    std::vector<RelRow> linksOf(uint32_t resId) { return rows("ResId", {int64_t{resId}}); }
    std::vector<RelRow> linksTo(uint32_t urlId, uint32_t postId) {
        return rows("UrlId", {int64_t{urlId}, int64_t{postId}});
    }
    void removeLinksOf(uint32_t resId) { removeAll("ResId", {int64_t{resId}}); }
};

}  // namespace eng
