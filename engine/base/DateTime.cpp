#include "base/DateTime.h"

#include <ctime>

namespace eng {

namespace {
// Days from 30 December 1899 to 1 January 1970.
constexpr double kUnixEpochAsDate = 25569.0;
}  // namespace

Date now() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    localtime_r(&ts.tv_sec, &local);
    const double localSeconds = static_cast<double>(ts.tv_sec + local.tm_gmtoff) + ts.tv_nsec / 1e9;
    return kUnixEpochAsDate + localSeconds / kSecondsPerDay;
}

}  // namespace eng
