#include "support/ProjectFiles.h"

#include <sqlite3.h>

#include <stdexcept>

#include "ProjectTemplate.h"

namespace test {

namespace {

struct Connection {
    explicit Connection(const std::string &path) {
        if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db));
    }
    ~Connection() { sqlite3_close(db); }
    sqlite3 *db = nullptr;
};

}  // namespace

void executeSql(const std::string &path, const std::string &sql) {
    Connection c(path);
    char *error = nullptr;
    if (sqlite3_exec(c.db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string text = error ? error : "sqlite error";
        sqlite3_free(error);
        throw std::runtime_error(text);
    }
}

// The first column of the first row, read by the given function (or the fallback).
template <class Read, class Value>
Value firstValue(const Connection &c, const std::string &sql, Read read, Value fallback) {
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(c.db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(c.db));
    Value value = sqlite3_step(stmt) == SQLITE_ROW ? read(stmt) : fallback;
    sqlite3_finalize(stmt);
    return value;
}

long long firstInteger(const Connection &c, const std::string &sql) {
    return firstValue(
        c, sql, [](sqlite3_stmt *s) { return static_cast<long long>(sqlite3_column_int64(s, 0)); }, -1LL);
}

long long queryInteger(const std::string &path, const std::string &sql) { return firstInteger(Connection(path), sql); }

std::string queryText(const std::string &path, const std::string &sql) {
    return firstValue(
        Connection(path), sql,
        [](sqlite3_stmt *s) {
            const auto *text = sqlite3_column_text(s, 0);
            return text ? std::string(reinterpret_cast<const char *>(text)) : std::string();
        },
        std::string());
}

long long rowsNotIn(const std::string &path, const std::string &other, const std::string &table) {
    Connection c(path);
    const std::string attach = "ATTACH '" + other + "' AS other";
    if (sqlite3_exec(c.db, attach.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(c.db));
    return firstInteger(c, "SELECT count(*) FROM (SELECT rowid, * FROM main.\"" + table +
                               "\" EXCEPT SELECT rowid, * FROM other.\"" + table + "\")");
}

void writeProjectFile(const std::string &path, int version) {
    eng::writeNewProject(path);
    if (version != 257) executeSql(path, "UPDATE Project SET Version = " + std::to_string(version));
}

}  // namespace test
