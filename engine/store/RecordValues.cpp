#include "store/RecordValues.h"

#include <bit>
#include <cstring>

#include "store/FileFormat.h"

namespace eng {

namespace {

// The bytes a value of the serial type takes; nothing for the reserved types.
std::optional<uint64_t> valueSize(uint64_t type) {
    static constexpr uint64_t kIntegerSizes[] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0};
    if (type <= 9) return kIntegerSizes[type];
    if (type < 12) return {};
    return (type - 12) / 2;
}

int64_t bigEndianInteger(const uint8_t *p, size_t size) {
    uint64_t value = (p[0] & 0x80) ? ~uint64_t{0} : 0;  // sign-extended
    for (size_t i = 0; i < size; ++i) value = value << 8 | p[i];
    return static_cast<int64_t>(value);
}

RecordValue valueOf(uint64_t type, const uint8_t *p, size_t size) {
    RecordValue v;
    if (type == 0) return v;
    if (type == 8 || type == 9) {
        v.kind = RecordValue::Kind::Integer;
        v.integer = type == 9 ? 1 : 0;
    } else if (type == 7) {
        v.kind = RecordValue::Kind::Real;
        v.real = std::bit_cast<double>(static_cast<uint64_t>(bigEndianInteger(p, 8)));
    } else if (type < 7) {
        v.kind = RecordValue::Kind::Integer;
        v.integer = bigEndianInteger(p, size);
    } else {
        v.kind = type % 2 ? RecordValue::Kind::Text : RecordValue::Kind::Blob;
        v.bytes.assign(reinterpret_cast<const char *>(p), size);
    }
    return v;
}

}  // namespace

std::optional<std::vector<RecordValue>> decodeRecord(std::span<const uint8_t> record) {
    const uint8_t *begin = record.data();
    const uint8_t *end = begin + record.size();
    uint64_t headerSize = 0;
    const size_t first = fileformat::readVarint(begin, end, headerSize);
    if (first == 0 || headerSize < first || headerSize > record.size()) return {};
    std::vector<uint64_t> types;
    for (const uint8_t *p = begin + first; p < begin + headerSize;) {
        uint64_t type = 0;
        const size_t n = fileformat::readVarint(p, begin + headerSize, type);
        if (n == 0) return {};
        types.push_back(type);
        p += n;
    }
    uint64_t total = 0;
    for (uint64_t type : types) {
        const std::optional<uint64_t> size = valueSize(type);
        if (!size || *size > record.size()) return {};
        total += *size;
    }
    if (total != record.size() - headerSize) return {};
    std::vector<RecordValue> values;
    values.reserve(types.size());
    const uint8_t *p = begin + headerSize;
    for (uint64_t type : types) {
        const size_t size = static_cast<size_t>(*valueSize(type));
        values.push_back(valueOf(type, p, size));
        p += size;
    }
    return values;
}

}  // namespace eng
