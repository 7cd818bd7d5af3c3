#include "store/Statement.h"

#include <sqlite3.h>

#include <utility>

#include "store/DatabaseException.h"

namespace eng {

Statement::Statement(sqlite3 *db, std::string_view sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK) fail();
}

Statement::Statement(Statement &&other) noexcept
    : db_(std::exchange(other.db_, nullptr)), stmt_(std::exchange(other.stmt_, nullptr)) {}

Statement &Statement::operator=(Statement &&other) noexcept {
    std::swap(db_, other.db_);
    std::swap(stmt_, other.stmt_);
    return *this;
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

void Statement::fail() const { throw CDatabaseException(sqlite3_errmsg(db_)); }

Statement &Statement::bind(int index, int64_t value) {
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) fail();
    return *this;
}

Statement &Statement::bind(int index, double value) {
    if (sqlite3_bind_double(stmt_, index, value) != SQLITE_OK) fail();
    return *this;
}

Statement &Statement::bind(int index, std::string_view text) {
    if (sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        fail();
    return *this;
}

Statement &Statement::bind(int index, std::span<const uint8_t> bytes) {
    if (sqlite3_bind_blob64(stmt_, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT) != SQLITE_OK) fail();
    return *this;
}

int Statement::parameterIndex(std::string_view name) const {
    const std::string parameter = ":" + std::string(name);
    const int index = sqlite3_bind_parameter_index(stmt_, parameter.c_str());
    if (index == 0) throw CDatabaseException("The statement has no parameter " + std::string(name));
    return index;
}

Statement &Statement::bindNamed(std::string_view name, int64_t value) { return bind(parameterIndex(name), value); }

Statement &Statement::bindNamed(std::string_view name, std::string_view text) {
    return bind(parameterIndex(name), text);
}

Statement &Statement::bindNull(int index) {
    if (sqlite3_bind_null(stmt_, index) != SQLITE_OK) fail();
    return *this;
}

bool Statement::step() {
    switch (sqlite3_step(stmt_)) {
        case SQLITE_ROW:
            return true;
        case SQLITE_DONE:
            return false;
        default: {
            const std::string message = sqlite3_errmsg(db_);
            sqlite3_reset(stmt_);
            throw CDatabaseException(message);
        }
    }
}

void Statement::copyRow(const Statement &row) {
    const int n = sqlite3_column_count(row.stmt_);
    for (int i = 0; i < n; ++i)
        if (sqlite3_bind_value(stmt_, i + 1, sqlite3_column_value(row.stmt_, i)) != SQLITE_OK) fail();
}

void Statement::run() {
    while (step()) {
    }
    reset();
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const { return sqlite3_column_count(stmt_); }

bool Statement::isNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

int64_t Statement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }

double Statement::real(int column) const { return sqlite3_column_double(stmt_, column); }

std::string Statement::text(int column) const {
    const auto *p = sqlite3_column_text(stmt_, column);
    return p ? std::string(reinterpret_cast<const char *>(p), sqlite3_column_bytes(stmt_, column)) : std::string();
}

std::vector<uint8_t> Statement::blob(int column) const {
    const auto *p = static_cast<const uint8_t *>(sqlite3_column_blob(stmt_, column));
    return p ? std::vector<uint8_t>(p, p + sqlite3_column_bytes(stmt_, column)) : std::vector<uint8_t>();
}

}  // namespace eng
