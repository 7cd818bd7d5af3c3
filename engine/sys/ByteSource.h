#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace eng {

// Bytes read piece by piece from any offset: a body that need not be held in
// memory at once to be hashed, compared, scanned or stored.
class ByteSource {
public:
    // The size of the pieces that the walks below hand over.
    static constexpr size_t kPieceSize = 64 * 1024;

    virtual ~ByteSource() = default;

    virtual uint64_t size() const = 0;
    // Copies up to `into.size()` bytes from the offset into `into`; returns
    // how many were copied, fewer only at the end.
    virtual size_t read(uint64_t offset, std::span<uint8_t> into) const = 0;

    bool empty() const { return size() == 0; }
    // Hands the bytes in order to `take`, a piece at a time, until the end or
    // until `take` answers false; false when it did.
    bool forEachPiece(const std::function<bool(std::span<const uint8_t>)> &take) const;
    // The first bytes, at most `limit` of them, as text.
    std::string text(size_t limit = SIZE_MAX) const;
    // Holds the same bytes as the other source.
    bool sameBytes(const ByteSource &other) const;
};

// Bytes in memory, owned by someone else.
class MemoryBytes : public ByteSource {
public:
    explicit MemoryBytes(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    uint64_t size() const override { return bytes_.size(); }
    size_t read(uint64_t offset, std::span<uint8_t> into) const override;

private:
    std::span<const uint8_t> bytes_;
};

// One source followed by another, read as one.
class JoinedBytes : public ByteSource {
public:
    JoinedBytes(const ByteSource &first, const ByteSource &second) : first_(first), second_(second) {}

    uint64_t size() const override { return first_.size() + second_.size(); }
    size_t read(uint64_t offset, std::span<uint8_t> into) const override;

private:
    const ByteSource &first_;
    const ByteSource &second_;
};

}  // namespace eng
