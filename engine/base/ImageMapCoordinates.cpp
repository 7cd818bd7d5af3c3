#include "base/ImageMapCoordinates.h"

#include <algorithm>

namespace eng {

namespace {

// The name that stands before position `at`, back to the nearest '&'
// (exclusive) or to the text's second character; also where it starts.
std::string_view nameBefore(std::string_view text, size_t at, size_t &start) {
    start = at;
    while (start > 1 && text[start - 1] != '&') --start;
    return text.substr(start, at - start);
}

}  // namespace

std::string stripImageMapCoordinates(std::string_view text) {
    const size_t x = text.find(".x=");
    const size_t y = text.find(".y=");
    if (x == std::string_view::npos || y == std::string_view::npos) return std::string(text);
    const std::string_view after = text.substr(y + 3);
    if (!std::all_of(after.begin(), after.end(), [](char c) { return c >= '0' && c <= '9'; })) return std::string(text);
    size_t xStart = 0, yStart = 0;
    if (nameBefore(text, x, xStart) != nameBefore(text, y, yStart)) return std::string(text);
    // The '&' before the x-name goes with everything after it.
    if (xStart == 0 || text[xStart - 1] != '&') return std::string(text);
    return std::string(text.substr(0, xStart - 1));
}

}  // namespace eng
