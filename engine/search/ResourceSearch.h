#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/DateTime.h"
#include "search/SqlParameters.h"
#include "search/WordSplitter.h"
#include "store/Database.h"

namespace eng {

// What a search asks for. Each criterion counts only when given.
struct SearchRequest {
    int32_t maxResults = -1;  // negative: no limit
    std::string bodyQuery;    // over the words of bodies; empty (or blank): none
    int32_t states = 0;       // a state selector (see stateCondition), always applied
    std::string urlPattern;   // over the address, letter case ignored; empty or "*": none
    std::string titleQuery;   // over the words of page titles; empty (or blank) or "*": none
    int32_t minSize = 0;      // the size range counts unless it is 0 to INT32_MAX
    int32_t maxSize = INT32_MAX;
    Date doneFrom = 0, doneTo = 0;          // completion dates, inclusive; both 0: none
    Date modifiedFrom = 0, modifiedTo = 0;  // last-modified dates likewise
    int16_t type = 0;                       // resource type; 0: any
};

// A search put into SQL: the statement that selects the keys of the URL
// resources found, in key order, or why a query does not parse.
struct SearchStatement {
    int32_t error = 0;  // 0, or the ExprError of the query that does not parse
    std::string sql;
    SqlParameters parameters;
};

// Builds the statement for the project's database. A body query is answered from the indexed bodies
// only: those whose words satisfy it (see queryCondition); a title query from
// the page titles' words. A pattern in the address or a query that the
// database could not match (see globPattern) throws CEngineException.
SearchStatement searchStatement(Database &db, const SearchRequest &request, const WordSplitter &words);

// Runs a statement built above: the keys of the URL resources found.
std::vector<uint32_t> runSearch(Database &db, const SearchStatement &statement);

}  // namespace eng
