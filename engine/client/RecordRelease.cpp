#include "RecordRelease.h"

#include <initializer_list>

namespace eng::client {

namespace {

void releaseAll(std::initializer_list<char *> texts, FreeMem freeMem) {
    for (char *text : texts)
        if (text) freeMem(text);
}

// Releases the strings of the record at the start of the payload, when it is whole.
template <class Record>
void releaseFirst(std::span<const std::byte> payload, FreeMem freeMem) {
    if (const auto record = recordAt<Record>(payload, 0)) releaseRecordStrings(*record, freeMem);
}

}  // namespace

void releaseRecordStrings(const EngTaskRecord &r, FreeMem freeMem) {
    releaseAll({r.url, r.formData, r.reserved1, r.reserved2, r.userAgent, r.filter, r.note, r.name, r.referer,
                r.errorText, r.contentType},
               freeMem);
}

void releaseRecordStrings(const EngUrlResRecord &r, FreeMem freeMem) {
    releaseAll({r.url, r.formData, r.errorText, r.contentType, r.title}, freeMem);
}

void releaseRecordStrings(const ItemResource &r, FreeMem freeMem) {
    const EngUrlResRecord resource = r.resource;
    releaseRecordStrings(resource, freeMem);
}

void releaseRecordStrings(const ResourceNotification &r, FreeMem freeMem) {
    const EngUrlResRecord resource = r.resource;
    releaseRecordStrings(resource, freeMem);
}

void releaseRecordStrings(const EngFolderRecord &r, FreeMem freeMem) { releaseAll({r.name}, freeMem); }

void releaseRecordStrings(const EngPingStateRecord &r, FreeMem freeMem) { releaseAll({r.host}, freeMem); }

void releaseRecordStrings(const EngDownloadProgressRecord &r, FreeMem freeMem) {
    releaseAll({r.url, r.postData, r.contentType}, freeMem);
}

void releaseRecordStrings(const EngProjectProps &r, FreeMem freeMem) {
    releaseAll({r.note, r.filter, r.userText, r.httpProxy, r.ftpProxy}, freeMem);
}

void releaseRecordStrings(const EngLinkRecord &r, FreeMem freeMem) { releaseAll({r.url, r.formData}, freeMem); }

std::span<const std::byte> notificationPayload(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    if (msg == ENG_NOTIFY_ONLINE || lParam == 0) return {};
    return {reinterpret_cast<const std::byte *>(lParam), wParam};
}

void releaseNotificationPayload(uint32_t msg, uintptr_t wParam, intptr_t lParam, FreeMem freeMem) {
    const std::span<const std::byte> payload = notificationPayload(msg, wParam, lParam);
    if (payload.data() == nullptr) return;
    switch (msg) {
        case ENG_NOTIFY_URLRES:
            releaseFirst<ResourceNotification>(payload, freeMem);
            break;
        case ENG_NOTIFY_PROGRESS:
            releaseFirst<EngDownloadProgressRecord>(payload, freeMem);
            break;
        case ENG_NOTIFY_TASK_ADDED:
        case ENG_NOTIFY_TASK_CHANGED:
            releaseFirst<EngTaskRecord>(payload, freeMem);
            break;
        default:
            break;
    }
    freeMem(reinterpret_cast<void *>(lParam));
}

}  // namespace eng::client
