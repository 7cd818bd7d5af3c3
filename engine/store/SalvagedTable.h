#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/BtreeSalvage.h"
#include "store/Database.h"
#include "store/RepairReport.h"
#include "store/TableShape.h"

namespace eng {

// One table of a project being rebuilt from a damaged file: the rows read
// from the damaged file go into the fresh project with their keys, and the
// key ranges that could not be read are kept to count and bound what was lost.
// The template's own rows (the root folder, the project row, the noise words)
// come back only where the damaged file's rows were lost.
class SalvagedTable {
public:
    // Sets the fresh project's template rows of the table aside.
    SalvagedTable(Database &fresh, const std::string &name);
    SalvagedTable(const SalvagedTable &) = delete;
    SalvagedTable &operator=(const SalvagedTable &) = delete;

    const TableShape &shape() const { return shape_; }
    // Copies a row; a row the fresh project refuses (a broken constraint)
    // counts as lost, a second copy of a key already saved is dropped.
    void insert(const SalvagedRow &row);
    void addLost(const std::vector<KeyRange> &ranges);
    // True when the key lies in a range whose rows were lost.
    bool mayHaveLost(int64_t key) const;

    // Puts the template's rows back where rows were lost, keeps the key
    // counter above every key the damaged file may have used, and counts.
    // `unaccountedPages` bounds how many pages the lost rows can have filled;
    // `sequence` is the damaged file's key counter of the table.
    RepairReport::Table finish(std::optional<uint64_t> unaccountedPages, uint32_t usableSize,
                               std::optional<int64_t> sequence);

private:
    int64_t savedIn(const KeyRange &range) const;
    void restoreTemplateRows(const KeyRange &range);
    void raiseSequence(int64_t key);

    Database &fresh_;
    TableShape shape_;
    std::string setAside_;  // the temporary table with the template's rows
    Statement insert_;
    int64_t saved_ = 0;
    int64_t refused_ = 0;
    std::vector<KeyRange> lost_;
};

}  // namespace eng
