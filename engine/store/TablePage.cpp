#include "store/TablePage.h"

#include "store/FileFormat.h"

namespace eng {

namespace {

using fileformat::read16;
using fileformat::read32;
using fileformat::readVarint;

constexpr uint8_t kIndexInterior = 0x02, kTableInterior = 0x05, kIndexLeaf = 0x0A, kTableLeaf = 0x0D;

// Where a b-tree page's header starts, how long it is and where its cell
// pointers end; nothing when they do not fit in the page.
struct PageLayout {
    size_t header = 0;
    uint8_t type = 0;
    size_t cellCount = 0;
    size_t cellsFrom = 0;  // the first byte after the cell pointer array
};

std::optional<PageLayout> layoutOf(std::span<const uint8_t> page, uint32_t number, uint32_t usableSize) {
    PageLayout l;
    l.header = number == 1 ? 100 : 0;
    if (usableSize > page.size() || l.header + 12 > usableSize) return {};
    l.type = page[l.header];
    const bool interior = l.type == kTableInterior || l.type == kIndexInterior;
    if (!interior && l.type != kTableLeaf && l.type != kIndexLeaf) return {};
    l.cellCount = read16(&page[l.header + 3]);
    l.cellsFrom = l.header + (interior ? 12 : 8) + 2 * l.cellCount;
    if (l.cellsFrom > usableSize) return {};
    return l;
}

// The offset of cell i, when it points into the cell content area.
std::optional<size_t> cellOffset(std::span<const uint8_t> page, const PageLayout &l, size_t i, uint32_t usableSize) {
    const size_t pointerAt = l.cellsFrom - 2 * (l.cellCount - i);
    const size_t offset = read16(&page[pointerAt]);
    if (offset < l.cellsFrom || offset >= usableSize) return {};
    return offset;
}

// How much of a payload of `size` bytes a table leaf keeps on the page.
size_t localPayload(uint64_t size, uint32_t usable) {
    const uint64_t maxLocal = usable - 35;
    if (size <= maxLocal) return static_cast<size_t>(size);
    const uint64_t minLocal = (uint64_t{usable} - 12) * 32 / 255 - 23;
    const uint64_t local = minLocal + (size - minLocal) % (usable - 4);
    return static_cast<size_t>(local <= maxLocal ? local : minLocal);
}

std::optional<LeafCell> leafCell(std::span<const uint8_t> page, size_t offset, uint32_t usable) {
    const uint8_t *end = page.data() + usable;
    const uint8_t *p = page.data() + offset;
    uint64_t payload = 0, key = 0;
    const size_t a = readVarint(p, end, payload);
    if (a == 0) return {};
    const size_t b = readVarint(p + a, end, key);
    if (b == 0) return {};
    LeafCell cell;
    cell.key = static_cast<int64_t>(key);
    cell.payloadSize = payload;
    cell.localOffset = offset + a + b;
    cell.localSize = localPayload(payload, usable);
    const bool overflows = cell.localSize < payload;
    if (cell.localOffset + cell.localSize + (overflows ? 4 : 0) > usable) return {};
    if (overflows) {
        cell.firstOverflow = read32(&page[cell.localOffset + cell.localSize]);
        if (cell.firstOverflow == 0) return {};
    }
    return cell;
}

std::optional<ChildPage> childCell(std::span<const uint8_t> page, size_t offset, uint32_t usable) {
    if (offset + 5 > usable) return {};
    uint64_t key = 0;
    if (readVarint(&page[offset + 4], page.data() + usable, key) == 0) return {};
    return ChildPage{read32(&page[offset]), static_cast<int64_t>(key)};
}

}  // namespace

std::optional<TablePage> readTablePage(std::span<const uint8_t> page, uint32_t number, uint32_t usableSize) {
    const std::optional<PageLayout> l = layoutOf(page, number, usableSize);
    if (!l || (l->type != kTableLeaf && l->type != kTableInterior)) return {};
    TablePage out;
    out.leaf = l->type == kTableLeaf;
    for (size_t i = 0; i < l->cellCount; ++i) {
        const std::optional<size_t> offset = cellOffset(page, *l, i, usableSize);
        if (out.leaf) {
            out.cells.push_back(offset ? leafCell(page, *offset, usableSize) : std::nullopt);
            continue;
        }
        // An interior page whose cells cannot all be read cannot say which
        // keys its children hold.
        const std::optional<ChildPage> child = offset ? childCell(page, *offset, usableSize) : std::nullopt;
        if (!child) return {};
        out.children.push_back(*child);
    }
    if (!out.leaf) out.children.push_back({read32(&page[l->header + 8]), std::nullopt});
    return out;
}

bool isIndexPage(std::span<const uint8_t> page, uint32_t number, uint32_t usableSize) {
    const std::optional<PageLayout> l = layoutOf(page, number, usableSize);
    if (!l || (l->type != kIndexLeaf && l->type != kIndexInterior)) return false;
    for (size_t i = 0; i < l->cellCount; ++i)
        if (!cellOffset(page, *l, i, usableSize)) return false;
    return true;
}

}  // namespace eng
