#pragma once

#include <cstddef>
#include <cstdint>

// The integer encodings of the SQLite file format: big-endian fields and
// variable-length integers. Readers never step past the end they are given.
namespace eng::fileformat {

inline uint32_t read16(const uint8_t *p) { return static_cast<uint32_t>(p[0]) << 8 | p[1]; }

inline uint32_t read32(const uint8_t *p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
           p[3];
}

// Reads the variable-length integer at p (one to nine bytes, the ninth
// carrying eight bits). Returns the bytes it took, or 0 when it would run
// past end.
inline size_t readVarint(const uint8_t *p, const uint8_t *end, uint64_t &value) {
    value = 0;
    for (size_t i = 0; i < 9; ++i) {
        if (p + i >= end) return 0;
        if (i == 8) {
            value = value << 8 | p[i];
            return 9;
        }
        value = value << 7 | (p[i] & 0x7F);
        if (!(p[i] & 0x80)) return i + 1;
    }
    return 0;
}

}  // namespace eng::fileformat
