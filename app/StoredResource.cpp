#include "StoredResource.h"

#include <cstring>

#include "EngineLibrary.h"
#include "RecordRelease.h"
#include "base/DateTime.h"

std::optional<StoredResource> storedResource(const QString &address) {
    const QByteArray url = address.toUtf8();
    void *addr = nullptr;
    uint32_t len = 0;
    engine().Eng_GetItemFromUrl(url.constData(), "", 0, eng::now(), &addr, &len);
    if (len < sizeof(EngItemRecord) + sizeof(EngUrlResRecord)) return std::nullopt;
    EngUrlResRecord record;
    std::memcpy(&record, static_cast<char *>(addr) + sizeof(EngItemRecord), sizeof record);
    StoredResource stored{record.id,         record.state == ENG_STATE_DONE,
                          record.error != 0, record.size,
                          record.state,      QString::fromUtf8(record.title ? record.title : "")};
    eng::releaseRecordStrings(record, engine().Eng_FreeMem);
    engine().Eng_FreeMem(addr);
    return stored;
}

QString StoredResource::hint() const {
    if (done) return failed ? QStringLiteral("Error") : QStringLiteral("Retrieved %1 bytes").arg(size);
    switch (state) {
        case ENG_STATE_QUEUED:
            return QStringLiteral("Queued");
        case ENG_STATE_DOWNLOADING:
            return QStringLiteral("Downloading");
        case ENG_STATE_SUSPENDED:
            return QStringLiteral("Stopped");
        default:  // the engine stores no other crawl state
            return QStringLiteral("Not Retrieved");
    }
}
