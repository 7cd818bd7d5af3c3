#pragma once

#include <string>

#include "filters/ExpressionTree.h"
#include "search/SqlParameters.h"
#include "search/WordRows.h"

namespace eng {

// The SQL condition that a parsed search query (see parseSearchQuery) puts on
// the body key UrlRes.ResId, over the word table of `rows`:
// - a word: the key is among the rows of that word; a pattern word (see
//   isWordPattern): among the rows whose word matches it (see globPattern);
// - a phrase: among the rows of its first word that the rows of its other
//   words follow at positions one after another;
// - AND, OR, NOT and groups: the same in SQL.
// The word or phrase with the fewest rows (as `rows` counts them) of those that every body found must hold is written
// as a list of bodies for the database to start from; the other words as lookups of each candidate's body. The words go
// into `parameters`. A bad pattern throws CEngineException.
std::string queryCondition(const ExprNode &tree, WordRows &rows, SqlParameters &parameters);

}  // namespace eng
