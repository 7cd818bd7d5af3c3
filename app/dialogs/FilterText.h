#pragma once

#include <cstdint>
#include <vector>

#include <QByteArray>
#include <QString>

// A task's filter text as entries: a mask of the link kinds it covers, the
// size bounds and the expression, written "mask;min;max;expression" and
// each ended by the byte 0xFF.
struct FilterEntry {
    uint32_t mask = 0;
    uint32_t minSize = 0;
    uint32_t maxSize = 0;
    QString expression;
};

namespace filter_masks {
inline constexpr uint32_t kLinks = 0x3871;
inline constexpr uint32_t kImages = 0x1810E;
inline constexpr uint32_t kEmbedded = 0x680;
// Set in an entry that allows only the addresses of its expression ("Retrieve only from:").
inline constexpr uint32_t kOnlyFrom = 0x20000;
}  // namespace filter_masks

// The entries of a filter text; an entry that lacks one of its ';' ends the list.
std::vector<FilterEntry> parseFilter(const QByteArray &text);
QByteArray composeFilter(const std::vector<FilterEntry> &entries);
// Whether some entry covers a kind of link.
bool coversLinks(const std::vector<FilterEntry> &entries);
