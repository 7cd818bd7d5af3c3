#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace eng {

// What repairing a project file did, table by table.
struct RepairReport {
    // The rows of one table: those copied into the repaired project, and
    // those of the damaged file that could not be.
    struct Table {
        std::string name;
        int64_t saved = 0;
        int64_t lost = 0;
        // The lost rows are counted exactly only when each was seen; rows of a
        // lost page are bounded by the keys around it, so `lost` is then the
        // most there can have been.
        bool lostExactly = true;
        bool lostUnbounded = false;  // not even a bound is known
    };

    std::string path;
    bool wasSound = false;  // nothing was wrong, and nothing was changed
    std::string keptAs;     // where the damaged file now lies
    std::vector<Table> tables;

    // The report for the user: a line for a sound file; otherwise where the
    // damaged file was kept and, for each table, the rows saved and lost.
    std::string text() const;
};

}  // namespace eng
