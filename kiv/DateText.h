#pragma once

#include <optional>
#include <string_view>

namespace kiv {

// The date an offline address names, as the engine counts dates (days since
// 30 December 1899, local time): "day-month-year-hour-minute-second", the
// time part optional in whole fields from the right. nullopt for a text that
// is no such date.
std::optional<double> dateOfText(std::string_view text);

}  // namespace kiv
