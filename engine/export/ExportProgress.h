#pragma once

#include <cstdint>
#include <functional>

#include "engine.h"

namespace eng {

// Where an export stands, for the application's progress display.
struct ExportProgress {
    enum Phase : int32_t {
        Started = ENG_EXPORT_STARTED,
        Collecting = ENG_EXPORT_COLLECTING,
        Writing = ENG_EXPORT_WRITING,
    };
    int32_t phase = Started;
    uint32_t total = 0;
    uint32_t current = 0;
};
using ExportProgressSink = std::function<void(const ExportProgress &)>;

// What an export wrote.
struct ExportSummary {
    uint32_t files = 0;  // the redirect page included
    uint64_t bytes = 0;
    uint32_t localLinks = 0;     // links rewritten to exported files
    uint32_t absoluteLinks = 0;  // links left to absolute addresses
    uint32_t notWritten = 0;     // files left out: a folder that could not be made, a name already taken
};

// Reports a count to the sink at most about 200 times between 0 and the
// total, and always at the total, so a large export does not flood the
// application with notifications.
class ThrottledProgress {
public:
    ThrottledProgress(const ExportProgressSink &sink, ExportProgress::Phase phase, uint32_t total)
        : sink_(sink), phase_(phase), total_(total), step_(total / 200 + 1) {}

    void report(uint32_t current) const {
        if (current == total_ || current % step_ == 0) sink_({phase_, total_, current});
    }

private:
    const ExportProgressSink &sink_;
    ExportProgress::Phase phase_;
    uint32_t total_;
    uint32_t step_;
};

}  // namespace eng
