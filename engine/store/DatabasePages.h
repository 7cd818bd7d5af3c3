#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "store/WalFrames.h"

namespace eng {

// What the first hundred bytes of an SQLite database file say.
struct DatabaseHeader {
    static constexpr size_t kSize = 100;

    uint32_t pageSize = 0;
    uint32_t usableSize = 0;     // of each page: the page size less the reserved bytes at its end
    uint32_t recordedPages = 0;  // the database's size in pages, 0 when the header does not vouch for it
    uint32_t firstFreelistTrunk = 0;
    uint32_t textEncoding = 0;  // 1 UTF-8, 2 UTF-16le, 3 UTF-16be
    uint32_t applicationId = 0;
};

// Reads a database header; nothing when the bytes are not one.
std::optional<DatabaseHeader> parseDatabaseHeader(std::span<const uint8_t> bytes);

// The pages of a database file as its last commit left them: the main file
// with the committed pages of its write-ahead log laid over it. A page that
// neither holds (past the end of a cut-off file) cannot be read.
class DatabasePages {
public:
    // Reads exactly `size` bytes of the main file at `offset`, false when it cannot.
    using ReadMain = std::function<bool(uint8_t *into, size_t size, uint64_t offset)>;

    DatabasePages(ReadMain readMain, uint64_t mainSize, const DatabaseHeader &header, const std::string &walPath);

    uint32_t pageSize() const { return header_.pageSize; }
    uint32_t usableSize() const { return header_.usableSize; }
    const DatabaseHeader &header() const { return header_; }
    // The highest page number that may be read.
    uint32_t pageCount() const { return pageCount_; }
    // How many pages the database had when it was last written; 0 when
    // nothing vouches for it.
    uint32_t expectedPages() const { return expectedPages_; }

    // Fills `into` with the page (numbered from 1); false when it cannot be read.
    bool read(uint32_t page, std::vector<uint8_t> &into) const;

private:
    ReadMain readMain_;
    uint32_t mainPages_;
    DatabaseHeader header_;
    WalFrames wal_;
    uint32_t pageCount_;
    uint32_t expectedPages_;
};

}  // namespace eng
