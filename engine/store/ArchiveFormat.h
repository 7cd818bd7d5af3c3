#pragma once

#include <cstdint>

namespace eng {

// Constants of the transfer archive, the file format that carries tasks,
// URL resources and bodies from one project to another.
inline constexpr size_t kArchiveBufferSize = 4096;

// String length prefixes: one byte below 0xFF; else 0xFF and two bytes below
// 0xFFFE; else 0xFF 0xFF 0xFF and four bytes. 0xFF 0xFE 0xFF announces a
// string of 16-bit characters (read, never written).
inline constexpr uint8_t kArchiveLongLength = 0xFF;
inline constexpr uint16_t kArchiveWideMarker = 0xFFFE;
inline constexpr uint16_t kArchiveHugeLength = 0xFFFF;

// Status of an archive date.
enum class ArchiveDateStatus : int32_t { Valid = 0, Invalid = 1, Null = 2 };

struct ArchiveDate {
    ArchiveDateStatus status = ArchiveDateStatus::Null;
    double value = 0;
};

// Dates are written valid; a date read back that is not valid counts as none (0).
inline ArchiveDate toArchiveDate(double date) { return ArchiveDate{ArchiveDateStatus::Valid, date}; }
inline double fromArchiveDate(const ArchiveDate &date) {
    return date.status == ArchiveDateStatus::Valid ? date.value : 0;
}

}  // namespace eng
