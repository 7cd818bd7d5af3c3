#pragma once

#include <cstdint>

#include <QString>

#include "engine.h"

// Where one download stands, as the engine reports it: a value copied out of
// the engine's progress record, which is released once the report is handled.
struct DownloadProgress {
    uint32_t resource = 0;  // the URL resource being fetched
    double started = 0;     // engine date
    uint8_t state = 0;      // ENG_DOWNLOAD_CREATED to ENG_DOWNLOAD_NO_THREAD
    QString url;
    QString formData;
    bool posted = false;  // form data went with it: another page than the address alone
    QString contentType;
    uint32_t received = 0;
    uint32_t contentLength = 0;  // 0 when the server did not say
    uint32_t resumeOffset = 0;   // bytes kept from an earlier attempt, not fetched again

    static DownloadProgress fromRecord(const EngDownloadProgressRecord &record);
};
