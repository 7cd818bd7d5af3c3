#include "search/WordRows.h"

#include "search/GlobPattern.h"
#include "search/QueryParser.h"

namespace eng {

WordRows::WordRows(Database &db, std::string_view table) : db_(db), table_(table) {}

Statement &WordRows::counting(bool pattern) {
    std::optional<Statement> &count = pattern ? matching_ : equal_;
    if (!count)
        count = db_.prepare("SELECT count(*) FROM (SELECT 1 FROM \"" + table_ + "\" WHERE Word " +
                            (pattern ? "GLOB" : "=") + " ?1 LIMIT " + std::to_string(kCap) + ")");
    return *count;
}

int64_t WordRows::of(const std::string &word) {
    if (const auto known = counted_.find(word); known != counted_.end()) return known->second;
    const bool pattern = isWordPattern(word);
    Statement &count = counting(pattern);
    count.bind(1, pattern ? globPattern(word) : word);
    count.step();
    const int64_t rows = count.integer(0);
    count.reset();
    return counted_[word] = rows;
}

}  // namespace eng
