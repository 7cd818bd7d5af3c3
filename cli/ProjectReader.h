#pragma once

#include <sqlite3.h>

#include <functional>
#include <string>

namespace lark {

// A read-only look into a project file that the engine has just accepted
// (and closed again), for the figures and lists no export gives.
class ProjectReader {
public:
    explicit ProjectReader(const std::string &path);
    ~ProjectReader();
    ProjectReader(const ProjectReader &) = delete;
    ProjectReader &operator=(const ProjectReader &) = delete;

    // The first column of the first row as a number (0 when there is no row).
    long long count(const char *sql);
    // Runs a statement with one text parameter and hands each row to the visitor.
    void rows(const char *sql, const std::string &parameter, const std::function<void(sqlite3_stmt *)> &visit);

private:
    sqlite3_stmt *prepare(const char *sql);

    sqlite3 *db_ = nullptr;
};

}  // namespace lark
