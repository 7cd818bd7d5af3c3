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
    // Item states by value: a fetched resource is "Ok" (6) or "Error" (7).
    static const char *const kNames[] = {"Not Retrieved", "Not accepted", "Done", "Queued",
                                         "Downloading",   "Stopped",      "Ok",   "Error"};
    if (done && !failed) return QStringLiteral("Retrieved %1 bytes").arg(size);
    const int item = done ? 7 : state;
    return QString::fromLatin1(item < 8 ? kNames[item] : "Not Retrieved");
}
