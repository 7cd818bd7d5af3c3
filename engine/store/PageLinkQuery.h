#pragma once

#include <optional>
#include <vector>

#include "store/CItemsTable.h"
#include "store/CRelTable.h"

namespace eng {

// A link of a stored body with the item that a task holds for its target,
// when the task holds one.
struct LinkWithItem {
    RelRow link;
    std::optional<ItemRow> item;
};

// A body's links, each read with the task's item for its target in one
// statement: following the links of a page looked up the item of every
// link on its own. The links come in the order of CRelTable::linksOf, and
// each item is the one CItemsTable::inTask finds. The statement is prepared
// on first use and kept while the project is open.
class PageLinkQuery {
public:
    PageLinkQuery(Database &db, CRelTable &rel, CItemsTable &items) : db_(db), rel_(rel), items_(items) {}

    std::vector<LinkWithItem> linksOf(uint32_t resId, uint32_t task);

private:
    Database &db_;
    CRelTable &rel_;
    CItemsTable &items_;
    std::optional<Statement> statement_;
};

}  // namespace eng
