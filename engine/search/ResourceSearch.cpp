#include "search/ResourceSearch.h"

#include "base/AsciiText.h"
#include "search/GlobPattern.h"
#include "search/QueryCondition.h"
#include "search/QueryParser.h"
#include "search/StateSelector.h"

namespace eng {

namespace {

// The criteria on the resource's own fields, each followed by " AND ".
std::string fieldCriteria(const SearchRequest &r, SqlParameters &p) {
    std::string sql;
    if (!r.urlPattern.empty() && r.urlPattern != "*")
        sql += "(lower(UrlRes.Url) GLOB " + p.add(globPattern(asciiLowered(r.urlPattern))) + ") AND ";
    if (r.doneFrom != 0 || r.doneTo != 0)
        sql += "(UrlRes.DoneTime BETWEEN " + p.add(r.doneFrom) + " AND " + p.add(r.doneTo) + ") AND ";
    if (r.modifiedFrom != 0 || r.modifiedTo != 0)
        sql += "(UrlRes.LastModified BETWEEN " + p.add(r.modifiedFrom) + " AND " + p.add(r.modifiedTo) + ") AND ";
    if (r.type != 0) sql += "(UrlRes.Type = " + p.add(int64_t{r.type}) + ") AND ";
    if (r.minSize != 0 || r.maxSize != INT32_MAX)
        sql += "(UrlRes.Size BETWEEN " + p.add(int64_t{r.minSize}) + " AND " + p.add(int64_t{r.maxSize}) + ") AND ";
    return sql;
}

bool given(std::string_view query) { return !trimmedWhite(query).empty(); }

}  // namespace

SearchStatement searchStatement(Database &db, const SearchRequest &request, const WordSplitter &words) {
    SearchStatement s;
    std::string where = fieldCriteria(request, s.parameters) + stateCondition(request.states);
    const bool hasTitle = given(request.titleQuery) && trimmedWhite(request.titleQuery) != "*";
    if (hasTitle) {
        const ParsedQuery title = parseSearchQuery(request.titleQuery, words);
        if (!title.tree) return {title.error, {}, {}};
        WordRows titleWords(db, "Title_Index");
        where += " AND " + queryCondition(*title.tree, titleWords, s.parameters);
    }
    if (given(request.bodyQuery)) {
        const ParsedQuery body = parseSearchQuery(request.bodyQuery, words);
        if (!body.tree) return {body.error, {}, {}};
        WordRows bodyWords(db, "Index");
        // The words' own subqueries come first, for the database to start from the rows of one of them.
        where += " AND " + queryCondition(*body.tree, bodyWords, s.parameters) +
                 " AND EXISTS (SELECT 1 FROM Res WHERE Res.ResId = UrlRes.ResId AND Res.Indexed <> 0)";
    }
    s.sql = "SELECT UrlRes.UrlResId FROM UrlRes WHERE " + where + " ORDER BY UrlRes.UrlResId";
    if (request.maxResults >= 0) s.sql += " LIMIT " + s.parameters.add(int64_t{request.maxResults});
    return s;
}

std::vector<uint32_t> runSearch(Database &db, const SearchStatement &statement) {
    Statement query = db.prepare(statement.sql);
    int index = 0;
    for (const SqlValue &value : statement.parameters.values()) {
        ++index;
        std::visit([&](const auto &v) { query.bind(index, v); }, value);
    }
    std::vector<uint32_t> found;
    while (query.step()) found.push_back(static_cast<uint32_t>(query.integer(0)));
    return found;
}

}  // namespace eng
