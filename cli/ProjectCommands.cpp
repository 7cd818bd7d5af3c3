#include "ProjectCommands.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <stdexcept>

#include "Arguments.h"
#include "EngineMessages.h"
#include "ProjectTemplate.h"
#include "engine.h"

namespace fs = std::filesystem;

namespace lark {

namespace {

// A failure that lark reports as it stands, with exit status 1.
class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string projectArgument(const Arguments &args) {
    args.expectCount(1, 1);
    return args.at(0);
}

void requireFile(const std::string &path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) throw Failure("no such project file \"" + path + "\"");
}

// Opens the project through the engine and closes it again, so that lark
// refuses exactly what the program refuses, with the engine's own words.
void checkOpens(const std::string &path) {
    EngineMessages messages;
    const int32_t result = Eng_OpenProject(path.c_str(), nullptr, nullptr, nullptr);
    if (result == 0) {
        Eng_CloseProject();
        return;
    }
    if (result == ENG_NO_DATABASE_ENGINE) throw Failure("the SQLite library on this system is too old");
    throw Failure(messages.summary("cannot open \"" + path + "\""));
}

std::string sizeText(uintmax_t bytes) {
    char text[32];
    if (bytes < 1024 * 1024)
        std::snprintf(text, sizeof text, "%.1f KiB", bytes / 1024.0);
    else
        std::snprintf(text, sizeof text, "%.1f MiB", bytes / (1024.0 * 1024.0));
    return text;
}

// A read-only look at a project that the engine has just accepted.
class ProjectReader {
public:
    explicit ProjectReader(const std::string &path) {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            throw Failure(std::string("cannot read \"") + path + "\": " + sqlite3_errmsg(db_));
    }
    ~ProjectReader() { sqlite3_close(db_); }
    ProjectReader(const ProjectReader &) = delete;
    ProjectReader &operator=(const ProjectReader &) = delete;

    template <class Row>
    void query(const char *sql, Row row) {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr) != SQLITE_OK)
            throw Failure(std::string("cannot read the project: ") + sqlite3_errmsg(db_));
        while (sqlite3_step(stmt) == SQLITE_ROW) row(stmt);
        sqlite3_finalize(stmt);
    }
    long long count(const char *sql) {
        long long n = 0;
        query(sql, [&](sqlite3_stmt *s) { n = sqlite3_column_int64(s, 0); });
        return n;
    }

private:
    sqlite3 *db_ = nullptr;
};

struct Folder {
    std::string name;
    std::vector<long long> children;
    long long tasks = 0;
};

void printTree(const std::map<long long, Folder> &folders, long long id, int depth) {
    auto it = folders.find(id);
    if (it == folders.end() || depth > 64) return;
    std::cout << std::string(2 + depth * 2, ' ') << (it->second.name.empty() ? "(unnamed)" : it->second.name) << "  ["
              << id << "]";
    if (it->second.tasks) std::cout << "  " << it->second.tasks << (it->second.tasks == 1 ? " task" : " tasks");
    std::cout << '\n';
    for (long long child : it->second.children) printTree(folders, child, depth + 1);
}

template <class Body>
int reporting(const std::string &command, Body body) {
    try {
        return body();
    } catch (const Failure &f) {
        std::cerr << "lark " << command << ": " << f.what() << '\n';
        return 1;
    }
}

}  // namespace

int newProject(const std::vector<std::string> &words) {
    Arguments args(words, {}, {"force"});
    const std::string path = projectArgument(args);
    return reporting("new", [&] {
        std::error_code error;
        if (fs::exists(path, error) && !args.has("force"))
            throw Failure("\"" + path + "\" exists already (--force replaces it)");
        try {
            eng::writeNewProject(path);
        } catch (const std::runtime_error &e) {
            throw Failure(e.what());
        }
        std::cout << "Created the empty project " << path << '\n';
        return 0;
    });
}

int projectInfo(const std::vector<std::string> &words) {
    Arguments args(words, {}, {});
    const std::string path = projectArgument(args);
    return reporting("info", [&] {
        requireFile(path);
        checkOpens(path);
        ProjectReader project(path);
        std::cout << "Project     " << path << "  (" << sizeText(fs::file_size(path)) << ")\n"
                  << "Version     " << project.count("SELECT Version FROM Project") << '\n'
                  << "Tasks       " << project.count("SELECT count(*) FROM Tasks") << '\n'
                  << "Resources   " << project.count("SELECT count(*) FROM UrlRes") << '\n'
                  << "Bodies      " << project.count("SELECT count(*) FROM Res") << '\n'
                  << "Strings     " << project.count("SELECT count(*) FROM Strings") << '\n'
                  << "Folders\n";
        std::map<long long, Folder> folders;
        std::vector<std::pair<long long, long long>> parents;
        project.query("SELECT FolderId, ParentId, Name FROM Folders ORDER BY FolderId", [&](sqlite3_stmt *s) {
            const auto *name = sqlite3_column_text(s, 2);
            folders[sqlite3_column_int64(s, 0)].name = name ? reinterpret_cast<const char *>(name) : "";
            parents.emplace_back(sqlite3_column_int64(s, 0), sqlite3_column_int64(s, 1));
        });
        for (auto [id, parent] : parents)
            if (parent != 0 && folders.count(parent)) folders[parent].children.push_back(id);
        project.query("SELECT FolderId, count(*) FROM Tasks GROUP BY FolderId", [&](sqlite3_stmt *s) {
            if (auto it = folders.find(sqlite3_column_int64(s, 0)); it != folders.end())
                it->second.tasks = sqlite3_column_int64(s, 1);
        });
        for (auto [id, parent] : parents)
            if (parent == 0) printTree(folders, id, 0);
        return 0;
    });
}

int compactProject(const std::vector<std::string> &words) {
    Arguments args(words, {}, {});
    const std::string path = projectArgument(args);
    return reporting("compact", [&] {
        requireFile(path);
        const uintmax_t before = fs::file_size(path);
        if (Eng_CompactDatabase(path.c_str()) != 1) {
            checkOpens(path);
            throw Failure("cannot compact \"" + path + "\"");
        }
        std::cout << "Compacted " << path << ": " << sizeText(before) << " -> " << sizeText(fs::file_size(path))
                  << '\n';
        return 0;
    });
}

int repairProject(const std::vector<std::string> &words) {
    Arguments args(words, {}, {});
    const std::string path = projectArgument(args);
    return reporting("repair", [&] {
        requireFile(path);
        if (Eng_RepairDatabase(path.c_str()) != 1) {
            checkOpens(path);
            throw Failure("cannot repair \"" + path + "\"");
        }
        checkOpens(path);
        std::cout << "Checked " << path << ": it opens and reads without errors\n";
        return 0;
    });
}

}  // namespace lark
