// Which word a body search starts from: the rarest of the words every body
// found must hold, whatever their order in the query.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "search/ResourceSearch.h"
#include "support/TableFixture.h"

namespace {

// "common" in bodies 1 to 300 (twice each), "rare" in body 7, "rarer" nowhere else than body 8.
const char *const kWords =
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
    "INSERT INTO \"Index\" (ResId, Word, Pos) SELECT i, 'common', 0 FROM n UNION ALL SELECT i, 'common', 2 FROM n;"
    "INSERT INTO \"Index\" (ResId, Word, Pos) VALUES (7, 'rare', 1), (8, 'rare', 1), (8, 'rarer', 5);";

// The word whose rows the statement lists for the database to start from.
std::string leadingWord(eng::Database &db, const std::string &query) {
    eng::SearchRequest request;
    request.bodyQuery = query;
    const eng::SearchStatement statement = eng::searchStatement(db, request, eng::WordSplitter({}));
    std::smatch lead;
    if (!std::regex_search(statement.sql, lead, std::regex(R"(IN \(SELECT w0\.ResId[^)]*w0\.Word = \?(\d+))")))
        return "(none leads)";
    return std::get<std::string>(statement.parameters.values().at(std::stoul(lead[1]) - 1));
}

TEST(SearchStart, TheRarestWordEveryBodyMustHoldLeads) {
    test::TableFixture fixture(kWords);
    eng::Database &db = *fixture.db;
    EXPECT_EQ(leadingWord(db, "common rare"), "rare");
    EXPECT_EQ(leadingWord(db, "rare common"), "rare");
    EXPECT_EQ(leadingWord(db, "common rare rarer"), "rarer");
    EXPECT_EQ(leadingWord(db, "common and (rare or rarer)"), "rare");  // 3 rows against 600
    EXPECT_EQ(leadingWord(db, "common \"rarer common\""), "rarer");    // a phrase, by its rarest word
    EXPECT_EQ(leadingWord(db, "common and not rare"), "common");       // a NOT never leads
    EXPECT_EQ(leadingWord(db, "missing common"), "missing");           // no rows at all: nothing to walk
}

}  // namespace
