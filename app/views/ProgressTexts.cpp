#include "ProgressTexts.h"

#include <cmath>

#include "views/TaskRow.h"

QString receivedText(const DownloadProgress &download) {
    return groupedNumber(uint64_t{download.received} + download.resumeOffset);
}

QString sizeText(const DownloadProgress &download) {
    if (download.contentLength == 0) return QStringLiteral("n/a");
    return groupedNumber(uint64_t{download.contentLength} + download.resumeOffset);
}

QString percentText(const DownloadProgress &download) {
    if (download.contentLength == 0) return QStringLiteral("n/a");
    const double done = double(download.received) + download.resumeOffset;
    const double whole = double(download.contentLength) + download.resumeOffset;
    return QString::number(std::llround(done / whole * 100)) + u'%';
}

QString elapsedText(int64_t seconds) {
    if (seconds < 0) seconds = 0;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QChar(u'0'))
        .arg(seconds / 60 % 60, 2, 10, QChar(u'0'))
        .arg(seconds % 60, 2, 10, QChar(u'0'));
}

QString retrievedBytesText(uint32_t bytes) {
    if (bytes < 10240) return groupedNumber(bytes);
    return groupedNumber(bytes / 1024) + QStringLiteral(" Kb");
}
