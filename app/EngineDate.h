#pragma once

#include <QDateTime>

// A local date and time as the engine counts dates: days since 30 December
// 1899, the fraction the time of day.
inline double engineDate(const QDateTime &when) {
    const QDateTime local = when.toLocalTime();
    return static_cast<double>(QDate(1899, 12, 30).daysTo(local.date())) +
           local.time().msecsSinceStartOfDay() / 86400000.0;
}
