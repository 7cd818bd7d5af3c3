#include "store/RepairReport.h"

#include <cstdio>

namespace eng {

namespace {

std::string lostText(const RepairReport::Table &t) {
    if (t.lostUnbounded) return "an unknown number";
    if (t.lost == 0) return "none";
    return (t.lostExactly ? "" : "at most ") + std::to_string(t.lost);
}

}  // namespace

std::string RepairReport::text() const {
    if (wasSound) return "The project \"" + path + "\" is sound; nothing was changed.\n";
    std::string out = "The project \"" + path +
                      "\" was damaged and has been rebuilt from the rows that could be read.\n" +
                      "The damaged file is kept as \"" + keptAs + "\".\n";
    char line[96];
    std::snprintf(line, sizeof line, "%-12s %10s  %s\n", "Table", "Saved", "Not saved");
    out += line;
    for (const Table &t : tables) {
        std::snprintf(line, sizeof line, "%-12s %10lld  %s\n", t.name.c_str(), static_cast<long long>(t.saved),
                      lostText(t).c_str());
        out += line;
    }
    return out;
}

}  // namespace eng
