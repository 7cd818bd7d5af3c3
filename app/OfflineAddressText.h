#pragma once

#include <QDateTime>
#include <QString>

// The offline addresses the program builds for its browser windows:
// "kiv:0:" + stamp + ":" + number + ":" + address, the stamp a date and time
// written day-month-year-hour-minute-second.
QString offlineAddress(const QString &address, uint32_t number, const QDateTime &stamp);

// Whether the text is an offline address ("kiv:" in any case, and three
// fields before the wrapped address).
bool isOfflineAddress(const QString &text);
// The address an offline address wraps, or the text itself.
QString wrappedAddress(const QString &text);
// The number an offline address carries; 0 for other text.
uint32_t offlineNumber(const QString &text);
// The stamp of an offline address as a date and time (invalid for other text).
QDateTime offlineStamp(const QString &text);
