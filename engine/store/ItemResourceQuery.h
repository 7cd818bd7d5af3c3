#pragma once

#include <functional>
#include <optional>
#include <string>

#include "store/CItemsTable.h"
#include "store/CStrTable.h"
#include "store/CUrlResTable.h"

namespace eng {

// A task item with the URL resource it points at and the texts of the
// resource's address and form data.
struct ItemWithResource {
    ItemRow item;
    UrlResRow resource;
    std::string url;
    std::string formData;
};

// Task items read together with their URL resources and the resources'
// address and form data strings in one statement: a task of 100,000 files
// read an item at a time took three more look-ups per file. Items without a
// URL resource, or whose resource is gone, are left out. The statements are
// prepared on first use and kept while the project is open.
class ItemResourceQuery {
public:
    using Visit = std::function<void(const ItemWithResource &)>;

    ItemResourceQuery(Database &db, CItemsTable &items, CUrlResTable &urlRes, CStrTable &strings)
        : db_(db), items_(items), urlRes_(urlRes), strings_(strings) {}

    // The task's items in the order of CItemsTable::ofTask: by address key.
    void ofTask(uint32_t task, const Visit &visit);
    // The item, when it has a resource.
    void ofItem(uint32_t item, const Visit &visit);

private:
    // The statement of the joined rows that pass the condition, in the order given.
    Statement &prepared(std::optional<Statement> &statement, const std::string &condition);
    void visitRows(Statement &statement, const Visit &visit);

    Database &db_;
    CItemsTable &items_;
    CUrlResTable &urlRes_;
    CStrTable &strings_;
    std::optional<Statement> byTask_;
    std::optional<Statement> byItem_;
};

}  // namespace eng
