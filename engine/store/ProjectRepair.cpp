#include "store/ProjectRepair.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>

#include "ProjectTemplate.h"
#include "store/BtreeSalvage.h"
#include "store/Database.h"
#include "store/DatabaseException.h"
#include "store/ExaminedProject.h"
#include "store/SalvagedTable.h"

namespace eng {

namespace {

namespace fs = std::filesystem;
using Affinity = TableShape::Affinity;

// The tables a project holds, in the order they are copied.
constexpr const char *kTables[] = {"Project", "Folders",   "Tasks", "UrlRes", "Items",       "Res",       "Rel",
                                   "Strings", "StrChunks", "Auth",  "Index",  "Title_Index", "NoiseWords"};

// The schema table, whose b-tree starts on page 1, and the key counters.
const TableShape kSchema{"sqlite_master",
                         {{"type", Affinity::Text},
                          {"name", Affinity::Text},
                          {"tbl_name", Affinity::Text},
                          {"rootpage", Affinity::Integer},
                          {"sql", Affinity::Text}}};
const TableShape kSequences{"sqlite_sequence", {{"name", Affinity::Blob}, {"seq", Affinity::Blob}}};

// Where each table's b-tree starts and each table's key counter, as far as
// the schema and the counters can still be read.
struct Catalogue {
    std::map<std::string, uint32_t> roots;
    std::map<std::string, int64_t> sequences;

    std::optional<int64_t> sequenceOf(const std::string &table) const {
        const auto found = sequences.find(table);
        return found == sequences.end() ? std::nullopt : std::optional(found->second);
    }
};

bool isText(const RecordValue &v, const char *text) { return v.kind == RecordValue::Kind::Text && v.bytes == text; }

Catalogue readCatalogue(BtreeSalvage &salvage) {
    Catalogue c;
    salvage.readTable(1, kSchema, [&](const SalvagedRow &row) {
        const RecordValue &root = row.values[3];
        if (isText(row.values[0], "table") && root.kind == RecordValue::Kind::Integer && root.integer > 0 &&
            root.integer <= UINT32_MAX)
            c.roots.emplace(row.values[1].bytes, static_cast<uint32_t>(root.integer));
    });
    if (const auto found = c.roots.find(kSequences.table); found != c.roots.end())
        salvage.readTable(found->second, kSequences, [&](const SalvagedRow &row) {
            if (row.values[1].kind == RecordValue::Kind::Integer)
                c.sequences[row.values[0].bytes] = row.values[1].integer;
        });
    return c;
}

// The table that the rows of a leaf no tree reached belong to: the only one
// whose columns they fit and whose lost keys hold all of theirs.
const SalvagedTable *ownerOf(const std::vector<std::unique_ptr<SalvagedTable>> &tables,
                             const std::vector<SalvagedRow> &rows) {
    const SalvagedTable *owner = nullptr;
    for (const auto &table : tables) {
        const bool fits = std::all_of(rows.begin(), rows.end(), [&](const SalvagedRow &row) {
            return table->shape().fits(row.values) && table->mayHaveLost(row.key);
        });
        if (!fits) continue;
        if (owner) return nullptr;
        owner = table.get();
    }
    return owner;
}

// Copies what can be read of every table into the fresh project.
std::vector<RepairReport::Table> copyRows(const DatabasePages &pages, Database &fresh) {
    BtreeSalvage salvage(pages);
    const Catalogue catalogue = readCatalogue(salvage);
    std::vector<std::unique_ptr<SalvagedTable>> tables;
    for (const char *name : kTables) {
        auto table = std::make_unique<SalvagedTable>(fresh, name);
        const auto root = catalogue.roots.find(name);
        if (root == catalogue.roots.end())
            table->addLost({KeyRange{}});
        else
            table->addLost(
                salvage.readTable(root->second, table->shape(), [&](const SalvagedRow &row) { table->insert(row); }));
        tables.push_back(std::move(table));
    }
    // Rows under a lost interior page (or of a table whose schema row was
    // lost) may still lie in leaf pages that no tree reaches now.
    salvage.markFreelist();
    salvage.readLooseLeaves(
        [&](const std::vector<SalvagedRow> &rows) -> const TableShape * {
            const SalvagedTable *owner = ownerOf(tables, rows);
            return owner ? &owner->shape() : nullptr;
        },
        [&](const TableShape &shape, const SalvagedRow &row) {
            for (const auto &table : tables)
                if (&table->shape() == &shape) table->insert(row);
        });
    const std::optional<uint64_t> unaccounted = salvage.unaccountedPages();
    std::vector<RepairReport::Table> out;
    for (const auto &table : tables)
        out.push_back(table->finish(unaccounted, pages.usableSize(), catalogue.sequenceOf(table->shape().table)));
    return out;
}

// Builds the fresh project at `rebuilt`; false when no row could be read.
bool rebuild(const ExaminedProject &damaged, const std::string &rebuilt, RepairReport &report) {
    const DatabasePages pages = damaged.pages();
    try {
        writeNewProject(rebuilt);
    } catch (const std::runtime_error &e) {
        throw CDatabaseException(e.what());
    }
    Database fresh(rebuilt);
    Transaction copy(fresh);
    report.tables = copyRows(pages, fresh);
    copy.commit();
    return std::any_of(report.tables.begin(), report.tables.end(), [](const auto &t) { return t.saved > 0; });
}

// A name beside the file that neither a file nor a log holds yet.
std::string freeNameFor(const std::string &path) {
    std::string name = path + ".damaged";
    for (int n = 2; fs::exists(name) || fs::exists(name + "-wal"); ++n) name = path + ".damaged" + std::to_string(n);
    return name;
}

void renameOrThrow(const std::string &from, const std::string &to) {
    if (std::rename(from.c_str(), to.c_str()) != 0)
        throw CDatabaseException("Cannot rename \"" + from + "\" to \"" + to + "\"");
}

// Moves the damaged file (with its log) aside and the rebuilt one in its
// place; puts the damaged file back when that fails.
std::string replaceKeepingDamaged(const std::string &path, const std::string &rebuilt) {
    const std::string kept = freeNameFor(path);
    renameOrThrow(path, kept);
    const bool log = fs::exists(path + "-wal");
    if (log && std::rename((path + "-wal").c_str(), (kept + "-wal").c_str()) != 0) {
        std::rename(kept.c_str(), path.c_str());
        throw CDatabaseException("Cannot move the log of \"" + path + "\" aside");
    }
    if (std::rename(rebuilt.c_str(), path.c_str()) != 0) {
        if (log) std::rename((kept + "-wal").c_str(), (path + "-wal").c_str());
        std::rename(kept.c_str(), path.c_str());
        throw CDatabaseException("Cannot put the repaired project in place of \"" + path + "\"");
    }
    return kept;
}

// Removes the rebuilt file unless it was put in place.
class RebuiltFile {
public:
    explicit RebuiltFile(std::string path) : path_(std::move(path)) { remove(); }
    ~RebuiltFile() {
        if (!placed_) remove();
    }
    const std::string &path() const { return path_; }
    void placed() { placed_ = true; }

private:
    void remove() const {
        for (const char *suffix : {"", "-wal", "-shm"}) ::unlink((path_ + suffix).c_str());
    }
    std::string path_;
    bool placed_ = false;
};

}  // namespace

RepairReport repairProject(const std::string &path) {
    RepairReport report;
    report.path = path;
    RebuiltFile rebuilt(path + ".repairing");
    {
        const ExaminedProject damaged(path);
        if (damaged.sound()) {
            report.wasSound = true;
            return report;
        }
        if (!rebuild(damaged, rebuilt.path(), report))
            throw CDatabaseException("Nothing in \"" + path + "\" could be read; the file is left as it was.");
    }
    if (!ExaminedProject(rebuilt.path()).sound())
        throw CDatabaseException("The project rebuilt from \"" + path + "\" is not sound; the file is left as it was.");
    report.keptAs = replaceKeepingDamaged(path, rebuilt.path());
    rebuilt.placed();
    return report;
}

}  // namespace eng
