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

long long queryInteger(const std::string &path, const std::string &sql) {
    Connection c(path);
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(c.db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(c.db));
    long long value = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
    sqlite3_finalize(stmt);
    return value;
}

void writeProjectFile(const std::string &path, int version) {
    eng::writeNewProject(path);
    if (version != 257) executeSql(path, "UPDATE Project SET Version = " + std::to_string(version));
}

}  // namespace test
