#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace eng {

// One column value of a stored row.
struct RecordValue {
    enum class Kind { Null, Integer, Real, Text, Blob };
    Kind kind = Kind::Null;
    int64_t integer = 0;
    double real = 0;
    std::string bytes;  // of a text or a blob
};

// Decodes a row's record (its header of column types, then the values).
// Nothing when the record is malformed: a header that runs past the record,
// a reserved column type, or values that do not fill the record exactly.
std::optional<std::vector<RecordValue>> decodeRecord(std::span<const uint8_t> record);

}  // namespace eng
