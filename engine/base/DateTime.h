#pragma once

#include <optional>

namespace eng {

// A Date counts days since 30 December 1899 in local time; the fraction is
// the time of day. 0 means "no date".
using Date = double;

inline constexpr double kSecondsPerDay = 86400.0;
// Days from 30 December 1899 to 1 January 1970.
inline constexpr double kUnixEpochAsDate = 25569.0;

// The Date of a calendar day and a time of day; nothing when the day does
// not exist or the time is out of range (hours 0-23, minutes and seconds
// 0-59).
std::optional<Date> dateOf(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// The current local time as a Date.
Date now();

}  // namespace eng
