#pragma once

#include <cstdint>
#include <optional>

#include <QString>

// The size field of the search dialog, read as a task filter's size field
// is: "N" stands for 0 to N bytes, "A-B" for A to B, an empty field for any
// size (0 to the largest 32-bit size).
struct SizeRange {
    int32_t min = 0;
    int32_t max = 0;
};

// The range the text stands for; nothing when it is not one (not a number
// or two joined by "-", a number beyond 32 bits, or a minimum above the
// maximum). Blanks around the numbers are allowed.
std::optional<SizeRange> readSizeRange(const QString &text);
// The text that reads back as the range: empty for any size, "N" from 0, else "A-B".
QString sizeRangeText(SizeRange range);
