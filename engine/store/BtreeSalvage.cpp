#include "store/BtreeSalvage.h"

#include <algorithm>

#include "store/FileFormat.h"

namespace eng {

namespace {

// The longest text or blob SQLite lets a row hold by default; a record that
// claims more is damage.
constexpr uint64_t kLongestRecord = 1000000000;

}  // namespace

BtreeSalvage::BtreeSalvage(const DatabasePages &pages) : pages_(pages), used_(size_t{pages.pageCount()} + 1, false) {}

bool BtreeSalvage::readPage(uint32_t page, std::vector<uint8_t> &into) const {
    return page != 0 && page < used_.size() && !used_[page] && pages_.read(page, into);
}

void BtreeSalvage::release(const std::vector<uint32_t> &chain) {
    for (uint32_t page : chain) used_[page] = false;
}

std::optional<std::vector<RecordValue>> BtreeSalvage::readRecord(const std::vector<uint8_t> &page, const LeafCell &cell,
                                                                 std::vector<uint32_t> &chain) {
    const uint64_t perPage = pages_.usableSize() - 4;
    if (cell.payloadSize > kLongestRecord || cell.payloadSize > cell.localSize + pages_.pageCount() * perPage)
        return {};
    const auto local = page.begin() + static_cast<std::ptrdiff_t>(cell.localOffset);
    overflow_.assign(local, local + static_cast<std::ptrdiff_t>(cell.localSize));
    // Each page of the chain is marked as it is taken, so that a chain that
    // loops back ends instead of going round.
    // An overwritten page of the chain shows in its link: the last page
    // links to nothing, every other to a page not taken yet.
    std::vector<uint8_t> next;
    uint32_t at = cell.firstOverflow;
    while (overflow_.size() < cell.payloadSize && readPage(at, next)) {
        used_[at] = true;
        chain.push_back(at);
        const uint64_t take = std::min<uint64_t>(perPage, cell.payloadSize - overflow_.size());
        overflow_.insert(overflow_.end(), next.begin() + 4, next.begin() + 4 + static_cast<std::ptrdiff_t>(take));
        at = fileformat::read32(next.data());
    }
    if (overflow_.size() < cell.payloadSize || (cell.firstOverflow != 0 && at != 0)) {
        release(chain);
        chain.clear();
        return {};
    }
    return decodeRecord(overflow_);
}

std::optional<std::vector<BtreeSalvage::Visit>> BtreeSalvage::childrenOf(const TablePage &page,
                                                                         const KeyRange &keys) const {
    std::vector<Visit> out;
    int64_t after = keys.after;
    for (const ChildPage &child : page.children) {
        KeyRange range{after, keys.upTo};
        if (child.maxKey) {
            if (*child.maxKey <= after || (keys.upTo && *child.maxKey > *keys.upTo)) return {};
            range.upTo = after = *child.maxKey;
        }
        out.push_back({child.page, range});
    }
    return out;
}

bool BtreeSalvage::readLeaf(const std::vector<uint8_t> &bytes, const TablePage &page, const Visit &visit,
                            const TableShape &shape, const RowSink &sink) {
    bool whole = true;
    bool ours = page.cells.empty();
    for (const std::optional<LeafCell> &cell : page.cells) {
        std::vector<uint32_t> chain;
        std::optional<std::vector<RecordValue>> values;
        if (cell && visit.keys.holds(cell->key)) values = readRecord(bytes, *cell, chain);
        if (!values || !shape.fits(*values)) {
            release(chain);
            whole = false;
            continue;
        }
        ours = true;
        sink({cell->key, std::move(*values)});
    }
    // A page none of whose rows fit is not taken: it may be another table's.
    if (ours) used_[visit.page] = true;
    return whole;
}

std::vector<KeyRange> BtreeSalvage::readTable(uint32_t root, const TableShape &shape, const RowSink &sink) {
    std::vector<KeyRange> lost;
    std::vector<Visit> pending{{root, KeyRange{}}};
    std::vector<uint8_t> bytes;
    while (!pending.empty()) {
        const Visit visit = pending.back();
        pending.pop_back();
        std::optional<TablePage> page;
        if (readPage(visit.page, bytes)) page = readTablePage(bytes, visit.page, pages_.usableSize());
        std::optional<std::vector<Visit>> children;
        if (page && !page->leaf) children = childrenOf(*page, visit.keys);
        if (page && page->leaf) {
            if (!readLeaf(bytes, *page, visit, shape, sink)) lost.push_back(visit.keys);
        } else if (children) {
            used_[visit.page] = true;
            pending.insert(pending.end(), children->rbegin(), children->rend());
        } else {
            lost.push_back(visit.keys);
        }
    }
    return lost;
}

void BtreeSalvage::markFreelist() {
    const uint32_t usable = pages_.usableSize();
    std::vector<uint8_t> trunk;
    for (uint32_t at = pages_.header().firstFreelistTrunk; readPage(at, trunk);) {
        used_[at] = true;
        const uint32_t leaves = fileformat::read32(&trunk[4]);
        if (leaves > (usable - 8) / 4) return;
        for (uint32_t i = 0; i < leaves; ++i) {
            const uint32_t leaf = fileformat::read32(&trunk[8 + 4 * i]);
            if (leaf != 0 && leaf < used_.size()) used_[leaf] = true;
        }
        at = fileformat::read32(trunk.data());
    }
}

std::optional<std::vector<SalvagedRow>> BtreeSalvage::readAllRows(const std::vector<uint8_t> &bytes,
                                                                  const TablePage &page,
                                                                  std::vector<uint32_t> &chains) {
    std::vector<SalvagedRow> rows;
    for (const std::optional<LeafCell> &cell : page.cells) {
        std::vector<uint32_t> chain;
        std::optional<std::vector<RecordValue>> values;
        if (cell) values = readRecord(bytes, *cell, chain);
        chains.insert(chains.end(), chain.begin(), chain.end());
        if (!values) {
            release(chains);
            return {};
        }
        rows.push_back({cell->key, std::move(*values)});
    }
    return rows;
}

void BtreeSalvage::readLooseLeaves(const Owner &owner, const ShapedSink &sink) {
    std::vector<uint8_t> bytes;
    for (uint32_t at = 1; at < used_.size(); ++at) {
        if (!readPage(at, bytes)) continue;
        const std::optional<TablePage> page = readTablePage(bytes, at, pages_.usableSize());
        if (!page || !page->leaf || page->cells.empty()) continue;
        std::vector<uint32_t> chains;
        const std::optional<std::vector<SalvagedRow>> rows = readAllRows(bytes, *page, chains);
        if (!rows) continue;
        const TableShape *table = owner(*rows);
        if (!table) {
            release(chains);
            continue;
        }
        used_[at] = true;
        for (const SalvagedRow &row : *rows) sink(*table, row);
    }
}

std::optional<uint64_t> BtreeSalvage::unaccountedPages() const {
    const uint32_t expected = pages_.expectedPages();
    if (expected == 0) return {};
    uint64_t count = expected > pages_.pageCount() ? expected - pages_.pageCount() : 0;
    std::vector<uint8_t> bytes;
    for (uint32_t at = 1; at < used_.size(); ++at)
        if (!used_[at] && !(pages_.read(at, bytes) && isIndexPage(bytes, at, pages_.usableSize()))) ++count;
    return count;
}

}  // namespace eng
