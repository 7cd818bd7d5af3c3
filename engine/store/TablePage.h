#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace eng {

// A child of an interior table page: it holds the keys above the previous
// child's and up to its own largest key (the right-most child has none: its
// keys are bounded by the parent's).
struct ChildPage {
    uint32_t page = 0;
    std::optional<int64_t> maxKey;
};

// A row cell of a table leaf page: the row's key and where its record lies.
struct LeafCell {
    int64_t key = 0;
    uint64_t payloadSize = 0;  // the whole record
    size_t localOffset = 0;    // of the part stored on the page
    size_t localSize = 0;
    uint32_t firstOverflow = 0;  // the page where the rest continues; 0 when nothing does
};

// One page of a table b-tree, read without trusting it: every offset is
// checked against the page, and a cell that does not fit is marked unreadable.
struct TablePage {
    bool leaf = false;
    std::vector<ChildPage> children;             // of an interior page, in key order
    std::vector<std::optional<LeafCell>> cells;  // of a leaf, in key order; nothing where a cell cannot be read
};

// Reads the page (numbered from 1; page 1 starts after the file header) as a
// table b-tree page. Nothing when it is another kind of page or its header
// does not fit.
std::optional<TablePage> readTablePage(std::span<const uint8_t> page, uint32_t number, uint32_t usableSize);

// True when the page has the header of an index b-tree page.
bool isIndexPage(std::span<const uint8_t> page, uint32_t number, uint32_t usableSize);

}  // namespace eng
