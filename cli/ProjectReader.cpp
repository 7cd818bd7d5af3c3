#include "ProjectReader.h"

#include "Failure.h"

namespace lark {

ProjectReader::ProjectReader(const std::string &path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw Failure(std::string("cannot read \"") + path + "\": " + sqlite3_errmsg(db_));
}

ProjectReader::~ProjectReader() { sqlite3_close(db_); }

sqlite3_stmt *ProjectReader::prepare(const char *sql) {
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr) != SQLITE_OK)
        throw Failure(std::string("cannot read the project: ") + sqlite3_errmsg(db_));
    return stmt;
}

long long ProjectReader::count(const char *sql) {
    sqlite3_stmt *stmt = prepare(sql);
    const long long n = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : 0;
    sqlite3_finalize(stmt);
    return n;
}

void ProjectReader::rows(const char *sql, const std::string &parameter,
                         const std::function<void(sqlite3_stmt *)> &visit) {
    sqlite3_stmt *stmt = prepare(sql);
    sqlite3_bind_text(stmt, 1, parameter.data(), static_cast<int>(parameter.size()), SQLITE_TRANSIENT);
    while (sqlite3_step(stmt) == SQLITE_ROW) visit(stmt);
    sqlite3_finalize(stmt);
}

}  // namespace lark
