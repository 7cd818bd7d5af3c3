#include "store/Database.h"

#include <sqlite3.h>

#include <vector>

#include "store/DatabaseException.h"
#include "store/TableText.h"

namespace eng {

bool databaseEngineInstalled(int runtimeVersion) { return runtimeVersion >= kMinimumSqliteVersion; }

bool databaseEngineInstalled() { return databaseEngineInstalled(sqlite3_libversion_number()); }

Database::Database(const std::string &path) : path_(path) {
    const int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        throw CDatabaseException("Cannot open the project \"" + path + "\": " + message);
    }
    sqlite3_extended_result_codes(db_, 1);
    // A double-quoted name that matches no column must be an error, not a
    // string literal: statements name columns in double quotes.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    try {
        execute("PRAGMA locking_mode=EXCLUSIVE");
        probe();
    } catch (...) {
        sqlite3_close(db_);
        throw;
    }
}

void Database::probe() {
    // The first read shows whether the file is a database and whether
    // another program holds it.
    const int rc = sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) & 0xFF;
    if (rc == SQLITE_OK) return;
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        throw CDatabaseException("The project \"" + path_ + "\" is open in another program.");
    if (rc == SQLITE_NOTADB) throw CDatabaseException("The file \"" + path_ + "\" is not a Sitelark project.");
    throw CDatabaseException("Cannot open the project \"" + path_ + "\": " + sqlite3_errmsg(db_));
}

Database::~Database() {
    levelStatements_.clear();  // finalized before the connection closes
    sqlite3_close(db_);
}

void Database::runLevelStatement(const std::string &sql) {
    auto it = levelStatements_.find(sql);
    if (it == levelStatements_.end()) it = levelStatements_.emplace(sql, prepare(sql)).first;
    it->second.run();
}

void Database::execute(std::string_view sql) {
    const std::string text(sql);
    char *error = nullptr;
    if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : sqlite3_errmsg(db_);
        sqlite3_free(error);
        throw CDatabaseException(message);
    }
}

int64_t Database::changes() const { return sqlite3_changes64(db_); }

size_t Database::maxValueSize() const { return static_cast<size_t>(sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, -1)); }

int64_t Database::lastInsertKey() const { return sqlite3_last_insert_rowid(db_); }

void Database::takeExclusiveLock() {
    execute("PRAGMA journal_mode=WAL");
    execute("PRAGMA synchronous=NORMAL");
    // Each command runs in a savepoint: its statement journal stays in
    // memory instead of being written to a temporary file page by page.
    execute("PRAGMA temp_store=MEMORY");
    // A crawl touches the indexes of several tables for every link it
    // stores. With the default 2 MB of cached pages, a batch of downloads
    // spills changed pages to the log before its commit and reads them back
    // page by page; 16 MB holds a batch's pages, bounded however large the
    // project grows.
    execute("PRAGMA cache_size=-16384");
    // The log is copied into the file when it holds 10,000 pages (40 MB), not
    // the default 1,000: a page that many commits change is copied once.
    execute("PRAGMA wal_autocheckpoint=10000");
    execute("BEGIN EXCLUSIVE; COMMIT");
}

void Database::dropRuntimeTables() {
    std::vector<std::string> names;
    {
        // GLOB compares case-sensitively, and '_' is not a wildcard there.
        Statement tables = prepare("SELECT name FROM sqlite_master WHERE type = 'table' AND name GLOB 'tmp_*'");
        while (tables.step()) names.push_back(tables.text(0));
    }
    for (const std::string &name : names) execute("DROP TABLE " + sqlName(name));
}

void Database::begin() {
    runLevelStatement(depth_ == 0 ? std::string("BEGIN") : "SAVEPOINT level" + std::to_string(depth_));
    ++depth_;
}

void Database::commit() {
    if (depth_ == 0) return;
    const int level = depth_ - 1;
    runLevelStatement(level == 0 ? std::string("COMMIT") : "RELEASE level" + std::to_string(level));
    depth_ = level;
}

void Database::rollback() noexcept {
    if (depth_ == 0) return;
    const int level = --depth_;
    const std::string sql =
        level == 0 ? std::string("ROLLBACK")
                   : "ROLLBACK TO level" + std::to_string(level) + "; RELEASE level" + std::to_string(level);
    // A failed COMMIT may already have ended the transaction; nothing is left to undo then.
    if (level == 0 && sqlite3_get_autocommit(db_)) return;
    sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
}

}  // namespace eng
