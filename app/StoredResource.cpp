#include "StoredResource.h"

#include "EngineLibrary.h"
#include "RecordBuffer.h"
#include "base/DateTime.h"

std::optional<StoredResource> storedResource(const QString &address) {
    const QByteArray url = address.toUtf8();
    const auto found = eng::client::receiveRecords<eng::client::ItemResource>(
        engine().Eng_FreeMem, engine().Eng_GetItemFromUrl, url.constData(), "", 0u, eng::now());
    const auto pair = found.first();
    if (!pair) return std::nullopt;
    const EngUrlResRecord record = pair->resource;
    return StoredResource{record.id,         record.state == ENG_STATE_DONE,
                          record.error != 0, record.size,
                          record.state,      QString::fromUtf8(record.title ? record.title : "")};
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
