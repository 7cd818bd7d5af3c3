#include "QuantityText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace lark {

std::string sizeText(double bytes) {
    char text[32];
    if (bytes < 1024)
        std::snprintf(text, sizeof text, "%.0f bytes", std::max(bytes, 0.0));
    else if (bytes < 1024 * 1024)
        std::snprintf(text, sizeof text, "%.1f KiB", bytes / 1024);
    else
        std::snprintf(text, sizeof text, "%.1f MiB", bytes / (1024 * 1024));
    return text;
}

std::string durationText(double days) {
    const long long seconds = std::llround(std::max(days, 0.0) * 86400);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

}  // namespace lark
