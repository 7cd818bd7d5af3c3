#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "store/Database.h"

namespace eng {

// How common each word of a query is in one word table ("Index" or
// "Title_Index"): its rows, counted up to kCap through the index on the
// words, once per word and only when asked. A search starts from the rows of
// its rarest word, and a count needs no more than the cap to tell a rare word
// from a common one (counting 2,000 rows takes about a tenth of a
// millisecond).
class WordRows {
public:
    static constexpr int64_t kCap = 2000;

    WordRows(Database &db, std::string_view table);

    // The rows of a word, or of the words a pattern (see isWordPattern)
    // matches, up to kCap.
    int64_t of(const std::string &word);
    const std::string &table() const { return table_; }

private:
    Statement &counting(bool pattern);

    Database &db_;
    std::string table_;
    std::optional<Statement> equal_;
    std::optional<Statement> matching_;
    std::map<std::string, int64_t> counted_;
};

}  // namespace eng
