#pragma once

#include <map>
#include <string>
#include <string_view>

#include "store/Statement.h"

struct sqlite3;

namespace eng {

// The oldest SQLite library that the project files and statements need.
inline constexpr int kMinimumSqliteVersion = 3035000;

// True when the SQLite library found at run time (by default the one loaded)
// is recent enough.
bool databaseEngineInstalled(int runtimeVersion);
bool databaseEngineInstalled();

// An open project database: one SQLite connection, opened read-write and
// exclusively (the file lock is taken at open, so a second opener fails at
// once), in WAL mode so that a killed process loses nothing committed.
//
// Transactions nest: the outermost level is a real transaction, inner
// levels are savepoints that roll back on their own.
class Database {
public:
    explicit Database(const std::string &path);
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;
    ~Database();

    const std::string &path() const { return path_; }
    sqlite3 *handle() const { return db_; }

    void execute(std::string_view sql);
    // The number of rows the last statement changed.
    int64_t changes() const;
    // The largest text or body a row can hold.
    size_t maxValueSize() const;
    // The key given to the row that the last insert added.
    int64_t lastInsertKey() const;
    Statement prepare(std::string_view sql) const { return Statement(db_, sql); }
    // Takes the file lock and turns write-ahead logging on; done after the
    // caller has checked that the file is a project, so that a foreign file
    // is never changed.
    void takeExclusiveLock();
    // Drops the run-time tables ("tmp_" names) that an interrupted search left.
    void dropRuntimeTables();

    void begin();
    void commit();
    // Rolls the innermost level back; never throws.
    void rollback() noexcept;
    int transactionDepth() const { return depth_; }

private:
    void probe();
    // Runs a transaction statement, prepared on its first use: every
    // command opens and ends a level.
    void runLevelStatement(const std::string &sql);

    std::string path_;
    sqlite3 *db_ = nullptr;
    int depth_ = 0;
    std::map<std::string, Statement> levelStatements_;
};

// One transaction level, rolled back unless committed.
class Transaction {
public:
    explicit Transaction(Database &db) : db_(db) { db_.begin(); }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    ~Transaction() {
        if (!done_) db_.rollback();
    }
    void commit() {
        db_.commit();
        done_ = true;
    }

private:
    Database &db_;
    bool done_ = false;
};

}  // namespace eng
