#pragma once

namespace eng {

// A Date counts days since 30 December 1899 in local time; the fraction is
// the time of day. 0 means "no date".
using Date = double;

inline constexpr double kSecondsPerDay = 86400.0;

// The current local time as a Date.
Date now();

}  // namespace eng
