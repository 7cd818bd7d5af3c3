#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/FitText.h"
#include "store/Database.h"
#include "store/DatabaseException.h"
#include "store/TableText.h"

namespace eng {

// The value of an index key: a number, or a text for text-keyed tables.
using KeyValue = std::variant<int64_t, std::string>;

// One bound column: its name, the row member it is read into and written
// from, and for text its maximum length (longer text is cut to fit).
template <class Row>
struct Field {
    using Member = std::variant<uint32_t Row::*, int32_t Row::*, int16_t Row::*, uint8_t Row::*, bool Row::*,
                                double Row::*, std::string Row::*>;
    const char *column;
    Member member;
    uint16_t maxLength = 0;
};

// A named index: the columns in its order, each "Name" or "Name DESC".
struct NamedIndex {
    std::string name;
    std::vector<std::string> columns;
};

// The common base of the table objects: one table with its columns bound by
// name to the members of a row struct, positioned by seeks ("=" on the
// leading keys) on its named indexes, with add / edit / delete. The key is
// either an automatic integer key (read back after add) or a text column.
// Statements are prepared once and kept for the life of the project.
template <class Row>
class CTable {
public:
    static constexpr const char *kPrimaryKey = "PrimaryKey";

    // keyColumn names the key; autoKey is its row member when the key is the
    // table's automatic integer key (it is then not among the fields).
    CTable(Database &db, std::string table, std::vector<Field<Row>> fields, std::vector<NamedIndex> indexes,
           std::string keyColumn, uint32_t Row::*autoKey = nullptr)
        : db_(db),
          table_(std::move(table)),
          fields_(std::move(fields)),
          indexes_(std::move(indexes)),
          keyColumn_(std::move(keyColumn)),
          autoKey_(autoKey) {
        if (fields_.size() > 64) throw CDatabaseException("Too many columns bound on table " + table_);
        // Opening the table object checks that the table and every bound column exist.
        db_.prepare("SELECT " + columnList() + " FROM " + sqlName(table_) + " LIMIT 0");
    }
    CTable(const CTable &) = delete;
    CTable &operator=(const CTable &) = delete;

    // The first row whose leading index columns equal the keys, in index order.
    std::optional<Row> seek(std::string_view index, const std::vector<KeyValue> &keys) {
        Statement &s = seekStatement(index, keys);
        const ResetAfter reset(s);
        std::optional<Row> row;
        if (s.step()) row = readRow(s);
        return row;
    }
    // Every row whose leading index columns equal the keys, in index order.
    std::vector<Row> rows(std::string_view index, const std::vector<KeyValue> &keys) {
        Statement &s = seekStatement(index, keys);
        const ResetAfter reset(s);
        std::vector<Row> out;
        while (s.step()) out.push_back(readRow(s));
        return out;
    }
    std::optional<Row> find(const KeyValue &key) { return seek(kPrimaryKey, {key}); }
    // Every row, in the order they were added.
    std::vector<Row> all() {
        Statement &s = statement("SELECT " + columnList() + " FROM " + sqlName(table_) + " ORDER BY rowid");
        const ResetAfter reset(s);
        std::vector<Row> out;
        while (s.step()) out.push_back(readRow(s));
        return out;
    }

    // Inserts the row; an automatic key is read back into the row and returned.
    uint32_t add(Row &row) {
        Statement &s = cached("i", [this] { return insertSql(); });
        bindFields(s, row);
        s.run();
        if (!autoKey_) return 0;
        row.*autoKey_ = static_cast<uint32_t>(db_.lastInsertKey());
        return row.*autoKey_;
    }
    // Writes every bound column of the row with the row's key.
    void edit(const Row &row) { editColumns(row, allFields()); }
    // Writes only the columns in which the row differs from its stored
    // version: indexes over unchanged columns are left alone.
    void editChanged(const Row &row, const Row &stored) {
        const uint64_t changed = changedFields(row, stored);
        if (changed != 0) editColumns(row, changed);
    }
    void remove(const KeyValue &key) {
        Statement &s = statement("DELETE FROM " + sqlName(table_) + " WHERE " + sqlName(keyColumn_) + " = ?");
        bindValue(s, 1, key);
        s.run();
    }
    // Deletes every row whose leading index columns equal the keys.
    void removeAll(std::string_view index, const std::vector<KeyValue> &keys) {
        Statement &s = statement("DELETE FROM " + sqlName(table_) + whereClause(namedIndex(index), keys.size()));
        bindKeys(s, keys);
        s.run();
    }
    int64_t count() {
        Statement &s = statement("SELECT count(*) FROM " + sqlName(table_));
        s.step();
        const int64_t n = s.integer(0);
        s.reset();
        return n;
    }

    // The bound columns as a select list over several tables, each named
    // with its table (the automatic key first), for readRow.
    std::string selectList() const { return columnList(sqlName(table_) + "."); }
    // How many columns of a select list a row takes.
    int columnsPerRow() const { return static_cast<int>(fields_.size()) + (autoKey_ ? 1 : 0); }
    // The row in the statement's current row, read from the first column on
    // in the order of selectList.
    Row readRow(const Statement &s, int first = 0) const {
        Row row{};
        int column = first;
        if (autoKey_) row.*autoKey_ = static_cast<uint32_t>(s.integer(column++));
        for (const Field<Row> &f : fields_) {
            std::visit(
                [&](auto member) {
                    using T = std::remove_cvref_t<decltype(row.*member)>;
                    if constexpr (std::is_same_v<T, std::string>)
                        row.*member = s.text(column);
                    else if constexpr (std::is_same_v<T, double>)
                        row.*member = s.real(column);
                    else if constexpr (std::is_same_v<T, bool>)
                        row.*member = s.integer(column) != 0;
                    else
                        row.*member = static_cast<T>(s.integer(column));
                },
                f.member);
            ++column;
        }
        return row;
    }

    // The statement a seek runs, for checking that it uses its index.
    std::string seekSql(std::string_view index, size_t keyCount) const {
        const NamedIndex &named = namedIndex(index);
        std::string sql = "SELECT " + columnList() + " FROM " + sqlName(table_);
        if (!isRowKey(named)) sql += " INDEXED BY " + sqlName(table_ + "." + named.name);
        sql += whereClause(named, keyCount) + " ORDER BY ";
        for (const std::string &c : named.columns) sql += quotedOrderColumn(c) + ", ";
        return sql + "rowid";
    }

protected:
    // A statement prepared on first use and kept with the table object.
    Statement &statement(const std::string &sql) {
        auto it = statements_.find(sql);
        if (it == statements_.end()) it = statements_.emplace(sql, db_.prepare(sql)).first;
        return it->second;
    }

    Database &db_;

private:
    const NamedIndex &namedIndex(std::string_view index) const {
        for (const NamedIndex &named : indexes_)
            if (named.name == index) return named;
        throw CDatabaseException("No index " + std::string(index) + " on table " + table_);
    }
    bool isRowKey(const NamedIndex &named) const {
        return autoKey_ != nullptr && named.columns.size() == 1 && named.columns[0] == keyColumn_;
    }
    static std::string bareColumn(const std::string &c) {
        const auto space = c.find(' ');
        return space == std::string::npos ? c : c.substr(0, space);
    }
    static std::string quotedOrderColumn(const std::string &c) {
        const auto space = c.find(' ');
        return space == std::string::npos ? sqlName(c) : sqlName(c.substr(0, space)) + c.substr(space);
    }
    static std::string whereClause(const NamedIndex &named, size_t keyCount) {
        if (keyCount == 0 || keyCount > named.columns.size())
            throw CDatabaseException("Wrong number of keys for index " + named.name);
        std::string sql = " WHERE ";
        for (size_t i = 0; i < keyCount; ++i)
            sql += (i ? " AND " : "") + sqlName(bareColumn(named.columns[i])) + " = ?";
        return sql;
    }
    // The bound columns, the automatic key first, each after the prefix.
    std::string columnList(const std::string &prefix = {}) const {
        std::string list;
        if (autoKey_) list = prefix + sqlName(keyColumn_);
        for (const Field<Row> &f : fields_) list += (list.empty() ? "" : ", ") + prefix + sqlName(f.column);
        return list;
    }
    std::string insertSql() const {
        std::string columns, values;
        for (const Field<Row> &f : fields_) {
            columns += (columns.empty() ? "" : ", ") + sqlName(f.column);
            values += values.empty() ? "?" : ", ?";
        }
        return "INSERT INTO " + sqlName(table_) + " (" + columns + ") VALUES (" + values + ")";
    }
    std::string updateSql(uint64_t columns) const {
        std::string sets;
        for (size_t i = 0; i < fields_.size(); ++i)
            if (columns & (uint64_t{1} << i)) sets += (sets.empty() ? "" : ", ") + sqlName(fields_[i].column) + " = ?";
        return "UPDATE " + sqlName(table_) + " SET " + sets + " WHERE " + sqlName(keyColumn_) + " = ?";
    }

    Statement &seekStatement(std::string_view index, const std::vector<KeyValue> &keys) {
        Statement &s =
            cached("s" + std::to_string(keys.size()) + std::string(index), [&] { return seekSql(index, keys.size()); });
        bindKeys(s, keys);
        return s;
    }
    // A statement kept under a short key, its text made only when first used.
    template <class MakeSql>
    Statement &cached(const std::string &key, MakeSql makeSql) {
        auto it = byKey_.find(key);
        if (it == byKey_.end()) it = byKey_.emplace(key, db_.prepare(makeSql())).first;
        return it->second;
    }

    // Bit i stands for field i.
    uint64_t allFields() const { return fields_.size() == 64 ? ~uint64_t{0} : (uint64_t{1} << fields_.size()) - 1; }
    uint64_t changedFields(const Row &row, const Row &stored) const {
        uint64_t changed = 0;
        for (size_t i = 0; i < fields_.size(); ++i)
            std::visit(
                [&](auto member) {
                    if (!(row.*member == stored.*member)) changed |= uint64_t{1} << i;
                },
                fields_[i].member);
        return changed;
    }
    void editColumns(const Row &row, uint64_t columns) {
        Statement &s = cached("u" + std::to_string(columns), [&] { return updateSql(columns); });
        const int n = bindFields(s, row, columns);
        bindKey(s, n + 1, row);
        s.run();
    }
    static void bindValue(Statement &s, int n, const KeyValue &key) {
        if (const auto *number = std::get_if<int64_t>(&key))
            s.bind(n, *number);
        else
            s.bind(n, std::string_view(std::get<std::string>(key)));
    }
    static void bindKeys(Statement &s, const std::vector<KeyValue> &keys) {
        int n = 1;
        for (const KeyValue &k : keys) bindValue(s, n++, k);
    }

    // Binds the bound columns (all, or those of the mask) in order from
    // parameter 1; returns how many. The automatic key is not a bound
    // column: it is never written.
    int bindFields(Statement &s, const Row &row, uint64_t columns = ~uint64_t{0}) const {
        int n = 0;
        for (size_t i = 0; i < fields_.size(); ++i) {
            if (!(columns & (uint64_t{1} << i))) continue;
            const Field<Row> &f = fields_[i];
            ++n;
            std::visit(
                [&](auto member) {
                    using T = std::remove_cvref_t<decltype(row.*member)>;
                    if constexpr (std::is_same_v<T, std::string>)
                        s.bind(n, std::string_view(fitText(row.*member, f.maxLength)));
                    else if constexpr (std::is_same_v<T, double>)
                        s.bind(n, row.*member);
                    else if constexpr (std::is_same_v<T, bool>)
                        s.bind(n, int64_t{row.*member ? 1 : 0});
                    else
                        s.bind(n, static_cast<int64_t>(row.*member));
                },
                f.member);
        }
        return n;
    }
    void bindKey(Statement &s, int n, const Row &row) const {
        if (autoKey_) {
            s.bind(n, static_cast<int64_t>(row.*autoKey_));
            return;
        }
        for (const Field<Row> &f : fields_)
            if (keyColumn_ == f.column) {
                std::visit(
                    [&](auto member) {
                        using T = std::remove_cvref_t<decltype(row.*member)>;
                        if constexpr (std::is_same_v<T, std::string>)
                            s.bind(n, std::string_view(row.*member));
                        else if constexpr (std::is_integral_v<T>)
                            s.bind(n, static_cast<int64_t>(row.*member));
                    },
                    f.member);
            }
    }
    std::string table_;
    std::vector<Field<Row>> fields_;
    std::vector<NamedIndex> indexes_;
    std::string keyColumn_;
    uint32_t Row::*autoKey_;
    std::map<std::string, Statement> statements_;
    std::map<std::string, Statement> byKey_;
};

}  // namespace eng
