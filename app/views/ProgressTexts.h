#pragma once

#include <cstdint>

#include <QString>

#include "DownloadProgress.h"

// The texts the progress and statistics panes show for a download and for
// the project's counters. Byte counts have "," between groups of three digits.

// What has arrived, the bytes kept from an earlier attempt included.
QString receivedText(const DownloadProgress &download);
// The whole size, the kept bytes included; "n/a" when the server did not say.
QString sizeText(const DownloadProgress &download);
// The part done as a rounded percentage followed by "%"; "n/a" without a size.
QString percentText(const DownloadProgress &download);
// A span of seconds as "hh:mm:ss" (hours beyond 99 are shown whole).
QString elapsedText(int64_t seconds);
// The bytes retrieved: a number below 10240, else kilobytes followed by " Kb".
QString retrievedBytesText(uint32_t bytes);
