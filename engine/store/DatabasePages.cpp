#include "store/DatabasePages.h"

#include <algorithm>
#include <cstring>

#include "store/FileFormat.h"

namespace eng {

using fileformat::read16;
using fileformat::read32;

std::optional<DatabaseHeader> parseDatabaseHeader(std::span<const uint8_t> bytes) {
    static constexpr char kMagic[] = "SQLite format 3";  // with its terminating zero: 16 bytes
    if (bytes.size() < DatabaseHeader::kSize || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return {};
    const uint8_t *p = bytes.data();
    DatabaseHeader h;
    h.pageSize = read16(p + 16) == 1 ? 65536 : read16(p + 16);
    if (h.pageSize < 512 || (h.pageSize & (h.pageSize - 1)) != 0) return {};
    if (p[20] > h.pageSize - 480) return {};
    h.usableSize = h.pageSize - p[20];
    // The payload fractions are fixed by the format.
    if (p[21] != 64 || p[22] != 32 || p[23] != 32) return {};
    // The size is trusted only when the header was written by a version that keeps it.
    if (read32(p + 24) == read32(p + 92)) h.recordedPages = read32(p + 28);
    h.firstFreelistTrunk = read32(p + 32);
    h.textEncoding = read32(p + 56);
    h.applicationId = read32(p + 68);
    return h;
}

DatabasePages::DatabasePages(ReadMain readMain, uint64_t mainSize, const DatabaseHeader &header,
                             const std::string &walPath)
    : readMain_(std::move(readMain)),
      mainPages_(static_cast<uint32_t>(std::min<uint64_t>(mainSize / header.pageSize, UINT32_MAX))),
      header_(header),
      wal_(walPath, header.pageSize) {
    const std::optional<uint32_t> committed = wal_.committedPages();
    pageCount_ = committed ? *committed : mainPages_;
    expectedPages_ = committed ? *committed : header_.recordedPages;
    // The log may hold a newer page 1, with a newer freelist and size.
    std::vector<uint8_t> first(header_.pageSize);
    if (committed && wal_.read(1, first))
        if (const auto newer = parseDatabaseHeader(first); newer && newer->pageSize == header_.pageSize)
            header_ = *newer;
}

bool DatabasePages::read(uint32_t page, std::vector<uint8_t> &into) const {
    if (page == 0 || page > pageCount_) return false;
    into.resize(header_.pageSize);
    if (wal_.read(page, into)) return true;
    return page <= mainPages_ && readMain_(into.data(), into.size(), uint64_t{page - 1} * header_.pageSize);
}

}  // namespace eng
