#include "store/Maintenance.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <sys/stat.h>

#include "ProjectTemplate.h"
#include "store/Database.h"
#include "store/TableText.h"

namespace eng {

namespace {

// The tables a project holds, in the order a repair copies them.
constexpr const char *kTables[] = {"Project", "Folders",   "Tasks", "UrlRes", "Items",       "Res",       "Rel",
                                   "Strings", "StrChunks", "Auth",  "Index",  "Title_Index", "NoiseWords"};

bool exists(const std::string &path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::string sqlLiteral(const std::string &text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') out += '\'';
        out += c;
    }
    return out + "'";
}

// After the last connection to a file closes, its write-ahead log must be
// gone; one left over would be replayed into whatever file takes its place.
bool logFolded(const std::string &path) { return !exists(path + "-wal"); }

bool readableAsDatabase(Database &db) {
    try {
        Statement schema = db.prepare("SELECT count(*) FROM sqlite_master");
        return schema.step();
    } catch (const std::exception &) {
        return false;
    }
}

bool integrityOk(Database &db) {
    try {
        Statement check = db.prepare("PRAGMA integrity_check(1)");
        return check.step() && check.text(0) == "ok";
    } catch (const std::exception &) {
        return false;
    }
}

std::string columnsOf(Database &db, const char *table) {
    Statement info = db.prepare("SELECT name FROM pragma_table_info(" + sqlLiteral(table) + ")");
    std::string list;
    while (info.step()) list += (list.empty() ? "" : ", ") + sqlName(info.text(0));
    return list;
}

// Copies the rows of one table that can be read, keeping their row keys. A
// damaged page makes the scan fail; it then resumes past the damage,
// stepping further each time it fails again.
void copyReadableRows(Database &from, Database &to, const char *table) {
    const std::string columns = columnsOf(to, table);
    std::string placeholders = "?";
    for (char c : columns)
        if (c == ',') placeholders += ", ?";
    Statement insert = to.prepare("INSERT OR REPLACE INTO " + sqlName(table) + " (rowid, " + columns + ") VALUES (?, " +
                                  placeholders + ")");
    Statement scan =
        from.prepare("SELECT rowid, " + columns + " FROM " + sqlName(table) + " WHERE rowid > ? ORDER BY rowid");
    int64_t last = INT64_MIN;
    int64_t skip = 1;
    for (int failures = 0; failures < 64;) {
        scan.bind(1, last);
        try {
            while (scan.step()) {
                last = scan.integer(0);
                insert.copyRow(scan);
                insert.run();
                skip = 1;
            }
            return;
        } catch (const std::exception &) {
            scan.reset();
            ++failures;
            if (last == INT64_MIN) last = 0;
            if (last > INT64_MAX - skip) return;
            last += skip;
            skip *= 2;
        }
    }
}

// Copies every readable row of every table into the fresh project.
void copyProject(Database &damaged, Database &fresh) {
    Transaction copy(fresh);
    for (const char *table : kTables) {
        try {
            copyReadableRows(damaged, fresh, table);
        } catch (const std::exception &) {
            // A table that cannot be read at all keeps the fresh project's rows.
        }
    }
    copy.commit();
}

}  // namespace

bool compactDatabase(const std::string &path) {
    const std::string temporary = path + "_tmp";
    ::unlink(temporary.c_str());
    try {
        {
            Database db(path);
            db.execute("VACUUM INTO " + sqlLiteral(temporary));
        }
        if (logFolded(path) && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    } catch (const std::exception &) {
    }
    ::unlink(temporary.c_str());
    return false;
}

bool repairDatabase(const std::string &path) {
    const std::string rebuilt = path + "_repair";
    try {
        {
            Database damaged(path);
            if (!readableAsDatabase(damaged)) return false;
            if (integrityOk(damaged)) return true;
            ::unlink(rebuilt.c_str());
            writeNewProject(rebuilt);
            Database fresh(rebuilt);
            copyProject(damaged, fresh);
        }
        if (!logFolded(rebuilt) || std::rename(rebuilt.c_str(), path.c_str()) != 0) {
            ::unlink(rebuilt.c_str());
            return false;
        }
        ::unlink((path + "-wal").c_str());
        return true;
    } catch (const std::exception &) {
        ::unlink(rebuilt.c_str());
        return false;
    }
}

}  // namespace eng
