#pragma once

#include <map>
#include <string>
#include <string_view>

#include "store/Database.h"

namespace eng {

// The project's saved queries, kept by name as SQLite statements with the
// same meaning. Parameters are bound by their bracketed names:
//
//   Statement &q = queries.get("UrlRes Set State");
//   SavedQueries::bind(q, "[NEW_STATE]", 2);
//
// Each statement is prepared on first use and kept while the project is open.
class SavedQueries {
public:
    explicit SavedQueries(Database &db) : db_(db) {}

    Statement &get(std::string_view name);
    static void bind(Statement &query, std::string_view bracketedName, int64_t value);
    static void bind(Statement &query, std::string_view bracketedName, std::string_view text);

    // The statement text of a saved query (empty when there is none by that name).
    static std::string_view text(std::string_view name);

private:
    Database &db_;
    std::map<std::string, Statement, std::less<>> prepared_;
};

}  // namespace eng
