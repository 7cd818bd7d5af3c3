#include "store/Maintenance.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

#include "store/Database.h"
#include "store/ProjectRepair.h"

namespace eng {

namespace {

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

bool repairDatabase(const std::string &path, std::string &report) {
    try {
        report = repairProject(path).text();
        return true;
    } catch (const std::exception &e) {
        report = e.what();
        return false;
    }
}

bool repairDatabase(const std::string &path) {
    std::string report;
    return repairDatabase(path, report);
}

}  // namespace eng
