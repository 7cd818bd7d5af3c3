#include "store/SalvagedTable.h"

#include <sqlite3.h>

#include <algorithm>
#include <iterator>
#include <limits>

#include "store/DatabaseException.h"
#include "store/TableText.h"

namespace eng {

namespace {

TableShape shapeOf(Database &db, const std::string &table) {
    TableShape shape{table, {}};
    Statement info = db.prepare("SELECT name, type, pk FROM pragma_table_info(?)");
    info.bind(1, std::string_view(table));
    while (info.step()) {
        const std::string type = info.text(1);
        shape.columns.push_back(
            {info.text(0), TableShape::affinityOf(type), info.integer(2) == 1 && type == "INTEGER"});
    }
    if (shape.columns.empty()) throw CDatabaseException("The template has no table " + table);
    return shape;
}

std::string columnList(const TableShape &shape) {
    std::string list;
    for (const TableShape::Column &c : shape.columns) list += ", " + sqlName(c.name);
    return list;
}

std::string insertStatement(const TableShape &shape) {
    std::string values = "?";
    for (size_t i = 0; i < shape.columns.size(); ++i) values += ", ?";
    return "INSERT INTO main." + sqlName(shape.table) + " (rowid" + columnList(shape) + ") VALUES (" + values + ")";
}

void bindValue(Statement &s, int index, const RecordValue &v) {
    switch (v.kind) {
        case RecordValue::Kind::Null:
            s.bindNull(index);
            break;
        case RecordValue::Kind::Integer:
            s.bind(index, v.integer);
            break;
        case RecordValue::Kind::Real:
            s.bind(index, v.real);
            break;
        case RecordValue::Kind::Text:
            s.bind(index, std::string_view(v.bytes));
            break;
        case RecordValue::Kind::Blob:
            s.bind(index, std::span(reinterpret_cast<const uint8_t *>(v.bytes.data()), v.bytes.size()));
            break;
    }
}

// The fewest bytes a row of n columns takes on a leaf page: its cell (two
// one-byte numbers and a record of empty values) and its cell pointer.
int64_t smallestRow(size_t columns) { return static_cast<int64_t>(columns) + 5; }

int64_t saturatingAdd(int64_t a, int64_t b) {
    return a > std::numeric_limits<int64_t>::max() - b ? std::numeric_limits<int64_t>::max() : a + b;
}

}  // namespace

SalvagedTable::SalvagedTable(Database &fresh, const std::string &name)
    : fresh_(fresh),
      shape_(shapeOf(fresh, name)),
      setAside_("template_" + name),
      insert_(fresh.prepare(insertStatement(shape_))) {
    fresh_.execute("CREATE TEMP TABLE " + sqlName(setAside_) + " AS SELECT rowid AS key" + columnList(shape_) +
                   " FROM main." + sqlName(name));
    fresh_.execute("DELETE FROM main." + sqlName(name));
}

void SalvagedTable::insert(const SalvagedRow &row) {
    insert_.bind(1, row.key);
    for (size_t i = 0; i < shape_.columns.size(); ++i) {
        const int index = static_cast<int>(i) + 2;
        if (shape_.columns[i].rowKey)
            insert_.bind(index, row.key);
        else
            bindValue(insert_, index, row.values[i]);
    }
    try {
        insert_.run();
        ++saved_;
    } catch (const CDatabaseException &) {
        const int code = sqlite3_extended_errcode(fresh_.handle());
        if (code != SQLITE_CONSTRAINT_PRIMARYKEY && code != SQLITE_CONSTRAINT_ROWID) ++refused_;
    }
}

void SalvagedTable::addLost(const std::vector<KeyRange> &ranges) {
    lost_.insert(lost_.end(), ranges.begin(), ranges.end());
    std::sort(lost_.begin(), lost_.end(), [](const KeyRange &a, const KeyRange &b) { return a.after < b.after; });
}

bool SalvagedTable::mayHaveLost(int64_t key) const {
    // The ranges are those of distinct subtrees: they do not overlap, so only
    // the last one starting below the key can hold it.
    const auto next =
        std::partition_point(lost_.begin(), lost_.end(), [&](const KeyRange &r) { return r.after < key; });
    return next != lost_.begin() && std::prev(next)->holds(key);
}

int64_t SalvagedTable::savedIn(const KeyRange &range) const {
    Statement count =
        fresh_.prepare("SELECT count(*) FROM main." + sqlName(shape_.table) + " WHERE rowid > ? AND rowid <= ?");
    count.bind(1, range.after).bind(2, range.upTo.value_or(std::numeric_limits<int64_t>::max()));
    count.step();
    return count.integer(0);
}

void SalvagedTable::restoreTemplateRows(const KeyRange &range) {
    const std::string table = "main." + sqlName(shape_.table);
    Statement restore = fresh_.prepare("INSERT INTO " + table + " (rowid" + columnList(shape_) + ") SELECT key" +
                                       columnList(shape_) + " FROM temp." + sqlName(setAside_) +
                                       " WHERE key > ? AND key <= ? AND key NOT IN (SELECT rowid FROM " + table + ")");
    restore.bind(1, range.after).bind(2, range.upTo.value_or(std::numeric_limits<int64_t>::max()));
    restore.run();
}

void SalvagedTable::raiseSequence(int64_t key) {
    Statement raise = fresh_.prepare("UPDATE main.sqlite_sequence SET seq = max(seq, ?) WHERE name = ?");
    raise.bind(1, key).bind(2, std::string_view(shape_.table));
    raise.run();
}

RepairReport::Table SalvagedTable::finish(std::optional<uint64_t> unaccountedPages, uint32_t usableSize,
                                          std::optional<int64_t> sequence) {
    RepairReport::Table out{shape_.table, saved_, 0, lost_.empty(), false};
    int64_t bounded = 0;
    bool unbounded = false;
    int64_t top = 0;  // the highest key a lost row may have had
    for (KeyRange range : lost_) {
        // Keys start at 1; a table with a key counter never went above it.
        if (!range.upTo) range.upTo = sequence;
        const int64_t saved = savedIn(range);
        restoreTemplateRows(range);
        if (!range.upTo) {
            unbounded = true;
            continue;
        }
        const int64_t width = *range.upTo - std::max<int64_t>(range.after, 0);
        bounded = saturatingAdd(bounded, std::max<int64_t>(width - saved, 0));
        top = std::max(top, *range.upTo);
    }
    raiseSequence(top);
    if (sequence) {
        Statement keep = fresh_.prepare(
            "INSERT INTO main.sqlite_sequence (name, seq) SELECT ?1, ?2 "
            "WHERE NOT EXISTS (SELECT 1 FROM main.sqlite_sequence WHERE name = ?1)");
        keep.bind(1, std::string_view(shape_.table)).bind(2, *sequence);
        keep.run();
        raiseSequence(*sequence);
    }
    // However wide the key ranges, the lost rows fitted in the pages that
    // nothing else accounts for.
    std::optional<int64_t> capacity;
    if (unaccountedPages)
        capacity = static_cast<int64_t>(std::min<uint64_t>(
            *unaccountedPages * ((usableSize - 8) / smallestRow(shape_.columns.size())), INT64_MAX / 2));
    if (unbounded && !capacity)
        out.lostUnbounded = true;
    else
        out.lost = unbounded ? *capacity : std::min(bounded, capacity.value_or(bounded));
    out.lost = saturatingAdd(out.lost, refused_);
    return out;
}

}  // namespace eng
