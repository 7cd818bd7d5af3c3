#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "filters/ExpressionParser.h"
#include "search/WordSplitter.h"

namespace eng {

// The most words a search query may have, and the most tokens (words,
// operators, parentheses and quotes, the implied ANDs counted). Longer
// queries are refused as kExprTooLong, which keeps the SQL they become
// small.
inline constexpr size_t kMaxQueryWords = 64;
inline constexpr size_t kMaxQueryTokens = 4 * kMaxQueryWords;

// A search query parsed: its tree, or why it does not parse and where.
struct ParsedQuery {
    std::unique_ptr<ExprNode> tree;  // null when the query does not parse
    int32_t error = 0;               // 0 or an ExprError
    size_t position = 0;             // byte offset in the text of the token at which parsing failed
};

// Parses a query over the words of bodies or titles:
// - the text is lowercased (A to Z); white space separates tokens, and "(",
//   ")", the double quote and the apostrophe are tokens by themselves;
// - "and", "or" and "not" are operators, "(" … ")" groups;
// - a text between two quote characters (either one closes) is a phrase, a
//   Phrase node over its words joined by AND: inside it "and", "or" and "not"
//   are words and parentheses are left out; an unclosed phrase is
//   kExprUnclosedBracket;
// - noise words are left out, inside phrases too;
// - words in a row, and words and phrases in a row, are joined by an implied
//   AND; nothing is implied after ")" or before "(";
// - a word that is no pattern (see isWordPattern) is cut as the index cuts
//   its words (WordSplitter::indexedForm).
// Then the parser of expressions builds the tree, with its error codes.
ParsedQuery parseSearchQuery(std::string_view text, const WordSplitter &words);

// Whether a query word is a pattern: it holds any of * ? [ ] ! #.
bool isWordPattern(std::string_view word);

}  // namespace eng
