#pragma once

#include <cstdint>

#include "EngineBuffer.h"
#include "PackedRecords.h"
#include "engine.h"

// Releasing the strings inside the engine's records, and notification
// payloads whole. Each record type has its overload; those without strings
// release nothing, so that every record a buffer may hold is named here.
namespace eng::client {

// The strings of a record copied out of an engine buffer.
void releaseRecordStrings(const EngTaskRecord &record, FreeMem freeMem);
void releaseRecordStrings(const EngUrlResRecord &record, FreeMem freeMem);
void releaseRecordStrings(const ItemResource &record, FreeMem freeMem);
void releaseRecordStrings(const ResourceNotification &record, FreeMem freeMem);
void releaseRecordStrings(const EngFolderRecord &record, FreeMem freeMem);
void releaseRecordStrings(const EngDownloadProgressRecord &record, FreeMem freeMem);
void releaseRecordStrings(const EngProjectProps &record, FreeMem freeMem);
void releaseRecordStrings(const EngLinkRecord &record, FreeMem freeMem);
void releaseRecordStrings(const EngPingStateRecord &record, FreeMem freeMem);
inline void releaseRecordStrings(const EngItemRecord &, FreeMem) {}
inline void releaseRecordStrings(const EngStatisticsRecord &, FreeMem) {}
inline void releaseRecordStrings(const EngProjectFigures &, FreeMem) {}

// The bytes of a notification's payload: its buffer (lParam) of the length
// in wParam. The online verdict carries none.
std::span<const std::byte> notificationPayload(uint32_t msg, uintptr_t wParam, intptr_t lParam);

// What a notification carries: the strings inside its record, then its
// buffer. A payload too short for its record has its buffer released only.
void releaseNotificationPayload(uint32_t msg, uintptr_t wParam, intptr_t lParam, FreeMem freeMem);

}  // namespace eng::client
