#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "base/DateTime.h"

namespace eng {

// Reads an HTTP date header: the RFC 1123 form ("Sun, 06 Nov 1994 08:49:37
// GMT"), the RFC 850 form ("Sunday, 06-Nov-94 08:49:37 GMT"), or a bare
// number of seconds (added to now when relative). The clock time is kept as
// written, as a wall-clock Date without any zone adjustment, so that
// formatting it back with "GMT" gives the header's time. Nothing for text
// that is not such a date.
std::optional<Date> parseHttpDate(std::string_view text, bool relative = false);

// A Date as an HTTP date in the RFC 1123 form, for If-Modified-Since.
std::string formatHttpDate(Date date);
// A system time in the same form, with the clock of the local zone or of UTC.
std::string formatHttpTime(std::time_t time, bool localClock);

}  // namespace eng
