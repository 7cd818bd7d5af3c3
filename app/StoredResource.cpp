#include "StoredResource.h"

#include <QDateTime>
#include <cstring>

#include "EngineDate.h"
#include "EngineLibrary.h"

std::optional<StoredResource> storedResource(const QString &address) {
    const QByteArray url = address.toUtf8();
    void *addr = nullptr;
    uint32_t len = 0;
    engine().Eng_GetItemFromUrl(url.constData(), "", 0, engineDate(QDateTime::currentDateTime()), &addr, &len);
    if (len < sizeof(EngItemRecord) + sizeof(EngUrlResRecord)) return std::nullopt;
    EngUrlResRecord record;
    std::memcpy(&record, static_cast<char *>(addr) + sizeof(EngItemRecord), sizeof record);
    for (char *text : {record.url, record.formData, record.errorText, record.contentType, record.title})
        engine().Eng_FreeMem(text);
    engine().Eng_FreeMem(addr);
    return StoredResource{record.id, record.state == ENG_STATE_DONE};
}
