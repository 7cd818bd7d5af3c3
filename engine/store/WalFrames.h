#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "store/ReadOnlyFile.h"

namespace eng {

// The committed pages of a database's write-ahead log: for every page, the
// newest copy that a complete transaction wrote. Frames after the last commit,
// frames of an earlier log generation (other salts) and everything from the
// first frame whose checksum fails are left out, as SQLite itself does.
// A missing, empty or unreadable log has no pages.
class WalFrames {
public:
    // Reads the log's frame headers; pageSize must be the database's.
    WalFrames(const std::string &path, uint32_t pageSize);

    bool empty() const { return framesOf_.empty(); }
    // The database's size in pages after the last commit; nothing without one.
    std::optional<uint32_t> committedPages() const { return committedPages_; }
    // Copies the newest committed copy of the page into `into` (pageSize
    // bytes); false when the log has none.
    bool read(uint32_t page, std::vector<uint8_t> &into) const;

private:
    ReadOnlyFile log_;
    std::map<uint32_t, uint64_t> framesOf_;  // page -> offset of its newest committed copy
    std::optional<uint32_t> committedPages_;
};

}  // namespace eng
