#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "EngineBuffer.h"
#include "engine.h"

// The project's statistics as Eng_GetStatistics answers them: the time it
// has been online, then the stored bodies counted and summed by resource
// type.
namespace eng::client {

struct TypeFigures {
    uint32_t type = 0;  // the resource type (1 HTML, 2 GIF, 3 JPEG, 4 BMP, 5 other, 6 plain text)
    uint32_t bodies = 0;
    uint32_t bytes = 0;  // the largest value when the sum does not fit

    bool operator==(const TypeFigures &) const = default;
};

struct ProjectStatistics {
    double onlineDays = 0;
    std::vector<TypeFigures> types;
};

// The open project's statistics; nothing with no project open, or when the
// answer is not an online time followed by whole entries.
std::optional<ProjectStatistics> readProjectStatistics(decltype(&Eng_GetStatistics) get, FreeMem freeMem);

}  // namespace eng::client
