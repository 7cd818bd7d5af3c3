#include "net/HttpDate.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace eng {

namespace {

constexpr const char *kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char *kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
// The oldest year a date may carry, and the last that the date type holds.
constexpr int kFirstYear = 1970;
constexpr int kLastYear = 9999;

// Reads the decimal number at `at`, then steps over one separator.
int number(std::string_view text, size_t &at) {
    int value = 0;
    bool any = false;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
        value = value * 10 + (text[at++] - '0');
        any = true;
        if (value > 100000) return -1;
    }
    if (!any) return -1;
    if (at < text.size()) ++at;
    return value;
}

// A month name after any non-letters; an unknown name counts as January.
int month(std::string_view text, size_t &at) {
    while (at < text.size() && !std::isalpha(static_cast<unsigned char>(text[at]))) ++at;
    const std::string_view name = text.substr(at, 3);
    at = std::min(text.size(), at + 3);
    if (at < text.size()) ++at;
    for (int m = 0; m < 12; ++m)
        if (name == kMonths[m]) return m;
    return 0;
}

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
long daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + static_cast<unsigned>(d) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

std::optional<Date> wallClock(int year, int monthIndex, int day, int hours, int minutes, int seconds) {
    if (seconds < 0 || seconds > 59 || minutes < 0 || minutes > 59 || hours < 0 || hours > 23 || day < 1 || day > 31 ||
        monthIndex < 0 || monthIndex > 11 || year < kFirstYear || year > kLastYear)
        return std::nullopt;
    const long days = daysFromCivil(year, monthIndex + 1, day);
    return kUnixEpochAsDate + days + (hours * 3600 + minutes * 60 + seconds) / kSecondsPerDay;
}

}  // namespace

std::optional<Date> parseHttpDate(std::string_view text, bool relative) {
    if (const size_t comma = text.find(','); comma != std::string_view::npos) {
        size_t at = comma + 1;
        while (at < text.size() && text[at] == ' ') ++at;
        const std::string_view rest = text.substr(at);
        const bool rfc850 = rest.find('-') != std::string_view::npos;
        if (rest.size() < (rfc850 ? 18u : 20u)) return std::nullopt;
        size_t p = 0;
        const int day = number(rest, p);
        const int monthIndex = month(rest, p);
        int year = number(rest, p);
        if (rfc850 && year >= 0) year += 1900;
        const int hours = number(rest, p);
        const int minutes = number(rest, p);
        const int seconds = number(rest, p);
        return wallClock(year, monthIndex, day, hours, minutes, seconds);
    }
    if (!text.empty() && std::isdigit(static_cast<unsigned char>(text[0])) &&
        text.find('T') == std::string_view::npos) {
        char *end = nullptr;
        const std::string digits(text);
        const double seconds = std::strtod(digits.c_str(), &end);
        return (relative ? now() : kUnixEpochAsDate) + seconds / kSecondsPerDay;
    }
    return std::nullopt;
}

std::string formatHttpTime(std::time_t time, bool localClock) {
    std::tm fields{};
    if (localClock)
        localtime_r(&time, &fields);
    else
        gmtime_r(&time, &fields);
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d GMT", kDays[fields.tm_wday], fields.tm_mday,
                  kMonths[fields.tm_mon], fields.tm_year + 1900, fields.tm_hour, fields.tm_min, fields.tm_sec);
    return text;
}

std::string formatHttpDate(Date date) {
    const double whole = std::floor(date);
    const long days = static_cast<long>(whole - kUnixEpochAsDate);
    const long seconds = std::lround((date - whole) * kSecondsPerDay);
    return formatHttpTime(static_cast<std::time_t>(days) * 86400 + seconds, false);
}

}  // namespace eng
