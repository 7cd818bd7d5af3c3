#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace eng {

// One prepared SQLite statement, finalised with the object. Parameters are
// numbered from 1, columns from 0.
class Statement {
public:
    Statement(sqlite3 *db, std::string_view sql);
    Statement(Statement &&other) noexcept;
    Statement &operator=(Statement &&other) noexcept;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    ~Statement();

    Statement &bind(int index, int64_t value);
    Statement &bind(int index, double value);
    Statement &bind(int index, std::string_view text);
    Statement &bind(int index, std::span<const uint8_t> bytes);
    Statement &bindNull(int index);
    // Bind a parameter written ":NAME" in the statement.
    Statement &bindNamed(std::string_view name, int64_t value);
    Statement &bindNamed(std::string_view name, std::string_view text);

    // Advances to the next row: true while there is one, false when done.
    bool step();
    // Binds parameters 1..n to the values of the other statement's current row.
    void copyRow(const Statement &row);
    // Runs a statement that returns no rows.
    void run();
    void reset();

    int columnCount() const;
    bool isNull(int column) const;
    int64_t integer(int column) const;
    double real(int column) const;
    std::string text(int column) const;
    std::vector<uint8_t> blob(int column) const;

private:
    [[noreturn]] void fail() const;
    int parameterIndex(std::string_view name) const;

    sqlite3 *db_ = nullptr;
    sqlite3_stmt *stmt_ = nullptr;
};

// Resets the statement however reading its rows ends, so that it can be
// bound again: a row that cannot be read (memory, a caller's exception)
// would otherwise leave it stepping, and every later bind would fail.
class ResetAfter {
public:
    explicit ResetAfter(Statement &statement) : statement_(statement) {}
    ResetAfter(const ResetAfter &) = delete;
    ResetAfter &operator=(const ResetAfter &) = delete;
    ~ResetAfter() { statement_.reset(); }

private:
    Statement &statement_;
};

}  // namespace eng
