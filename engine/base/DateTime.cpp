#include "base/DateTime.h"

#include <chrono>
#include <ctime>

namespace eng {

Date now() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    localtime_r(&ts.tv_sec, &local);
    const double localSeconds = static_cast<double>(ts.tv_sec + local.tm_gmtoff) + ts.tv_nsec / 1e9;
    return kUnixEpochAsDate + localSeconds / kSecondsPerDay;
}

std::optional<Date> dateOf(int year, int month, int day, int hour, int minute, int second) {
    using namespace std::chrono;
    if (month < 1 || day < 1 || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    const year_month_day date{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                              std::chrono::day{static_cast<unsigned>(day)}};
    if (!date.ok()) return std::nullopt;
    const auto days = sys_days(date) - sys_days(std::chrono::year{1899} / December / 30);
    return static_cast<double>(days.count()) + (hour * 3600 + minute * 60 + second) / kSecondsPerDay;
}

}  // namespace eng
