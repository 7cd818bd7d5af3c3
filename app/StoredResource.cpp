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
    // Item states by value: a fetched resource is "Ok" (6) or "Error" (7).
    static const char *const kNames[] = {"Not Retrieved", "Not accepted", "Done", "Queued",
                                         "Downloading",   "Stopped",      "Ok",   "Error"};
    if (done && !failed) return QStringLiteral("Retrieved %1 bytes").arg(size);
    const int item = done ? 7 : state;
    return QString::fromLatin1(item < 8 ? kNames[item] : "Not Retrieved");
}
