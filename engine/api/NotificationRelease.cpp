#include "NotificationRelease.h"

#include <cstddef>
#include <cstring>

#include "engine.h"

namespace eng {

namespace {

// Releases the strings of a record inside a payload, each string address
// read by copy from its offset: records are packed, so their fields may not
// be aligned.
template <size_t N>
void releaseStrings(const char *payload, size_t length, size_t offset, size_t recordSize, const size_t (&fields)[N],
                    void (*freeMem)(void *)) {
    if (length < offset + recordSize) return;
    for (size_t field : fields) {
        char *text = nullptr;
        std::memcpy(&text, payload + offset + field, sizeof text);
        freeMem(text);
    }
}

constexpr size_t kUrlResStrings[] = {offsetof(EngUrlResRecord, url), offsetof(EngUrlResRecord, formData),
                                     offsetof(EngUrlResRecord, errorText), offsetof(EngUrlResRecord, contentType),
                                     offsetof(EngUrlResRecord, title)};
constexpr size_t kTaskStrings[] = {
    offsetof(EngTaskRecord, url),       offsetof(EngTaskRecord, formData),   offsetof(EngTaskRecord, reserved1),
    offsetof(EngTaskRecord, reserved2), offsetof(EngTaskRecord, userAgent),  offsetof(EngTaskRecord, filter),
    offsetof(EngTaskRecord, note),      offsetof(EngTaskRecord, name),       offsetof(EngTaskRecord, referer),
    offsetof(EngTaskRecord, errorText), offsetof(EngTaskRecord, contentType)};
constexpr size_t kProgressStrings[] = {offsetof(EngDownloadProgressRecord, url),
                                       offsetof(EngDownloadProgressRecord, postData),
                                       offsetof(EngDownloadProgressRecord, contentType)};

}  // namespace

void releaseNotificationPayload(uint32_t msg, uintptr_t wParam, intptr_t lParam, void (*freeMem)(void *)) {
    // Notifications with a payload carry its length in wParam and the buffer in lParam.
    if (msg == ENG_NOTIFY_ONLINE) return;
    const auto *payload = reinterpret_cast<const char *>(lParam);
    const size_t length = wParam;
    switch (msg) {
        case ENG_NOTIFY_URLRES:
            releaseStrings(payload, length, 1 + sizeof(EngItemRecord), sizeof(EngUrlResRecord), kUrlResStrings,
                           freeMem);
            break;
        case ENG_NOTIFY_PROGRESS:
            releaseStrings(payload, length, 0, sizeof(EngDownloadProgressRecord), kProgressStrings, freeMem);
            break;
        case ENG_NOTIFY_TASK_ADDED:
        case ENG_NOTIFY_TASK_CHANGED:
            releaseStrings(payload, length, 0, sizeof(EngTaskRecord), kTaskStrings, freeMem);
            break;
        default:
            break;
    }
    freeMem(reinterpret_cast<void *>(lParam));
}

}  // namespace eng
