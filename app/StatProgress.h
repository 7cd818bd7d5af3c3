#pragma once

#include <cstdint>

// The last statistics the engine sent about the open project.
struct StatProgress {
    uint32_t bytesRetrieved = 0;
    uint32_t averageSpeed = 0;
    uint32_t currentSpeed = 0;
    double timeRemaining = 0;  // days
    double timeElapsed = 0;    // days
    uint32_t itemsRemaining = 0;
    uint32_t itemsRetrieved = 0;
    uint32_t errors = 0;
};
