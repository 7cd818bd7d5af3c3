#include "RecordRelease.h"

#include <cstring>
#include <initializer_list>

namespace eng {

namespace {

// The record at an offset of a payload, copied out: records are packed, so
// their fields may not be aligned. Nothing when the payload is too short.
template <class Record>
bool recordAt(const char *payload, size_t length, size_t offset, Record &record) {
    if (length < offset + sizeof record) return false;
    std::memcpy(&record, payload + offset, sizeof record);
    return true;
}

}  // namespace

void releaseRecordStrings(const EngUrlResRecord &r, void (*freeMem)(void *)) {
    for (char *text : {r.url, r.formData, r.errorText, r.contentType, r.title}) freeMem(text);
}

void releaseRecordStrings(const EngTaskRecord &r, void (*freeMem)(void *)) {
    for (char *text : {r.url, r.formData, r.reserved1, r.reserved2, r.userAgent, r.filter, r.note, r.name, r.referer,
                       r.errorText, r.contentType})
        freeMem(text);
}

void releaseNotificationPayload(uint32_t msg, uintptr_t wParam, intptr_t lParam, void (*freeMem)(void *)) {
    // Notifications with a payload carry its length in wParam and the buffer in lParam.
    if (msg == ENG_NOTIFY_ONLINE) return;
    const auto *payload = reinterpret_cast<const char *>(lParam);
    const size_t length = wParam;
    EngUrlResRecord resource;
    EngTaskRecord task;
    EngDownloadProgressRecord progress;
    switch (msg) {
        case ENG_NOTIFY_URLRES:
            if (recordAt(payload, length, 1 + sizeof(EngItemRecord), resource)) releaseRecordStrings(resource, freeMem);
            break;
        case ENG_NOTIFY_PROGRESS:
            if (recordAt(payload, length, 0, progress))
                for (char *text : {progress.url, progress.postData, progress.contentType}) freeMem(text);
            break;
        case ENG_NOTIFY_TASK_ADDED:
        case ENG_NOTIFY_TASK_CHANGED:
            if (recordAt(payload, length, 0, task)) releaseRecordStrings(task, freeMem);
            break;
        default:
            break;
    }
    freeMem(reinterpret_cast<void *>(lParam));
}

}  // namespace eng
