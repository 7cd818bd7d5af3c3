#include "store/WalFrames.h"

#include <algorithm>
#include <array>

#include "store/FileFormat.h"

namespace eng {

namespace {

constexpr size_t kHeaderSize = 32;
constexpr size_t kFrameHeaderSize = 24;
constexpr uint32_t kMagic = 0x377f0682;  // the lowest bit tells the checksums' byte order

// The log's running checksum: pairs of 32-bit words, in the byte order the
// magic number names.
struct Checksum {
    bool bigEndian;
    uint32_t s0 = 0, s1 = 0;

    void add(const uint8_t *bytes, size_t size) {
        for (size_t i = 0; i + 8 <= size; i += 8) {
            s0 += word(bytes + i) + s1;
            s1 += word(bytes + i + 4) + s0;
        }
    }
    uint32_t word(const uint8_t *p) const {
        return bigEndian ? fileformat::read32(p)
                         : static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[2]) << 16 |
                               static_cast<uint32_t>(p[1]) << 8 | p[0];
    }
    bool matches(const uint8_t *stored) const {
        return fileformat::read32(stored) == s0 && fileformat::read32(stored + 4) == s1;
    }
};

}  // namespace

WalFrames::WalFrames(const std::string &path, uint32_t pageSize) : log_(path) {
    std::array<uint8_t, kHeaderSize> header{};
    if (!log_.readAt(header.data(), header.size(), 0)) return;
    const uint32_t magic = fileformat::read32(header.data());
    if ((magic & ~1u) != kMagic || fileformat::read32(header.data() + 8) != pageSize) return;
    Checksum sum{(magic & 1) != 0};
    sum.add(header.data(), 24);
    if (!sum.matches(header.data() + 24)) return;

    std::map<uint32_t, uint64_t> pending;
    std::vector<uint8_t> frame(kFrameHeaderSize + pageSize);
    for (uint64_t offset = kHeaderSize; log_.readAt(frame.data(), frame.size(), offset); offset += frame.size()) {
        // A frame of an older generation of the log, or a torn write, ends it.
        if (!std::equal(frame.begin() + 8, frame.begin() + 16, header.begin() + 16)) break;
        sum.add(frame.data(), 8);
        sum.add(frame.data() + kFrameHeaderSize, pageSize);
        if (!sum.matches(frame.data() + 16)) break;
        const uint32_t page = fileformat::read32(frame.data());
        if (page == 0) break;
        pending[page] = offset + kFrameHeaderSize;
        if (const uint32_t pagesAfterCommit = fileformat::read32(frame.data() + 4)) {
            for (const auto &[p, at] : pending) framesOf_[p] = at;
            pending.clear();
            committedPages_ = pagesAfterCommit;
        }
    }
}

bool WalFrames::read(uint32_t page, std::vector<uint8_t> &into) const {
    const auto found = framesOf_.find(page);
    if (found == framesOf_.end()) return false;
    return log_.readAt(into.data(), into.size(), found->second);
}

}  // namespace eng
