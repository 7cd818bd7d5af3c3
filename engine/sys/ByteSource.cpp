#include "sys/ByteSource.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace eng {

bool ByteSource::forEachPiece(const std::function<bool(std::span<const uint8_t>)> &take) const {
    std::vector<uint8_t> piece(static_cast<size_t>(std::min<uint64_t>(size(), kPieceSize)));
    for (uint64_t offset = 0; offset < size();) {
        const size_t count = read(offset, piece);
        if (count == 0) break;
        if (!take(std::span<const uint8_t>(piece.data(), count))) return false;
        offset += count;
    }
    return true;
}

std::string ByteSource::text(size_t limit) const {
    std::string bytes(static_cast<size_t>(std::min<uint64_t>(size(), limit)), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const size_t count =
            read(done, std::span<uint8_t>(reinterpret_cast<uint8_t *>(bytes.data()) + done, bytes.size() - done));
        if (count == 0) break;
        done += count;
    }
    bytes.resize(done);
    return bytes;
}

bool ByteSource::sameBytes(const ByteSource &other) const {
    if (size() != other.size()) return false;
    std::vector<uint8_t> theirs(static_cast<size_t>(std::min<uint64_t>(size(), kPieceSize)));
    uint64_t offset = 0;
    return forEachPiece([&](std::span<const uint8_t> mine) {
        const std::span<uint8_t> window(theirs.data(), mine.size());
        if (other.read(offset, window) != mine.size() || !std::equal(mine.begin(), mine.end(), window.begin()))
            return false;
        offset += mine.size();
        return true;
    });
}

size_t MemoryBytes::read(uint64_t offset, std::span<uint8_t> into) const {
    if (offset >= bytes_.size()) return 0;
    const size_t count = std::min<size_t>(into.size(), bytes_.size() - static_cast<size_t>(offset));
    std::memcpy(into.data(), bytes_.data() + offset, count);
    return count;
}

size_t JoinedBytes::read(uint64_t offset, std::span<uint8_t> into) const {
    const uint64_t split = first_.size();
    if (offset >= split) return second_.read(offset - split, into);
    const size_t fromFirst = first_.read(offset, into.first(std::min<uint64_t>(into.size(), split - offset)));
    if (fromFirst < into.size() && offset + fromFirst == split)
        return fromFirst + second_.read(0, into.subspan(fromFirst));
    return fromFirst;
}

}  // namespace eng
