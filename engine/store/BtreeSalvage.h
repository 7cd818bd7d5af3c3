#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "store/DatabasePages.h"
#include "store/RecordValues.h"
#include "store/TablePage.h"
#include "store/TableShape.h"

namespace eng {

// The keys k with after < k <= upTo of rows that could not be read (no upTo:
// no bound above).
struct KeyRange {
    int64_t after = INT64_MIN;
    std::optional<int64_t> upTo;

    bool holds(int64_t key) const { return key > after && (!upTo || key <= *upTo); }
};

// A row read from a damaged file: its key and its columns.
struct SalvagedRow {
    int64_t key = 0;
    std::vector<RecordValue> values;
};

// Reads rows out of the table b-trees of a database file that SQLite refuses,
// page by page, trusting nothing: a page out of range, of the wrong kind or
// malformed is skipped and the keys it held are reported lost; each page is
// used once, so cross-linked or cyclic pages end the walk instead of looping;
// only one record is held at a time.
class BtreeSalvage {
public:
    using RowSink = std::function<void(const SalvagedRow &row)>;
    // Given the rows of a leaf page that no tree reached, the table they
    // belong to; nothing when they belong to none (or cannot be told apart).
    using Owner = std::function<const TableShape *(const std::vector<SalvagedRow> &rows)>;
    using ShapedSink = std::function<void(const TableShape &table, const SalvagedRow &row)>;

    explicit BtreeSalvage(const DatabasePages &pages);

    // Reads, in key order, every row that fits the shape from the table
    // b-tree at root; returns the key ranges of what could not be read.
    std::vector<KeyRange> readTable(uint32_t root, const TableShape &shape, const RowSink &sink);
    // Marks the pages of the free list, so that their stale rows are not
    // taken for lost ones.
    void markFreelist();
    // Reads the table leaf pages that no tree reached (their parent page was
    // lost) and hands the rows of each to the table `owner` names.
    void readLooseLeaves(const Owner &owner, const ShapedSink &sink);
    // How many pages may have held rows that were not read: the pages missing
    // from a cut-off file and those read by nothing here that are not index
    // pages. Nothing when the file does not say how long it was.
    std::optional<uint64_t> unaccountedPages() const;

private:
    struct Visit {
        uint32_t page;
        KeyRange keys;
    };

    // Reads a page that nothing has taken yet.
    bool readPage(uint32_t page, std::vector<uint8_t> &into) const;
    // Gives back the pages of overflow chains whose records were not taken.
    void release(const std::vector<uint32_t> &chain);
    // The record of a leaf cell with its overflow chain, whose pages it
    // marks and lists in `chain`; nothing when it is damaged.
    std::optional<std::vector<RecordValue>> readRecord(const std::vector<uint8_t> &page, const LeafCell &cell,
                                                       std::vector<uint32_t> &chain);
    // The children of an interior page with their key ranges; nothing when
    // their keys are out of order or outside the page's own range.
    std::optional<std::vector<Visit>> childrenOf(const TablePage &page, const KeyRange &keys) const;
    // Reads a leaf's rows that fit the shape; false when any row could not be read.
    bool readLeaf(const std::vector<uint8_t> &bytes, const TablePage &page, const Visit &visit, const TableShape &shape,
                  const RowSink &sink);
    // Every row of a leaf, or nothing when any cannot be read; the overflow
    // pages taken are added to `chains`.
    std::optional<std::vector<SalvagedRow>> readAllRows(const std::vector<uint8_t> &bytes, const TablePage &page,
                                                        std::vector<uint32_t> &chains);

    const DatabasePages &pages_;
    std::vector<bool> used_;  // by page number: already part of a tree, the free list or a record
    std::vector<uint8_t> overflow_;
};

}  // namespace eng
