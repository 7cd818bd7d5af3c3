#pragma once

#include <cstdint>

#include "engine.h"

// Releasing what the engine hands to a client, with the engine's Eng_FreeMem
// as the client has it (linked or bound at run time).
namespace eng {

// The strings of a record copied out of an engine buffer.
void releaseRecordStrings(const EngUrlResRecord &record, void (*freeMem)(void *));
void releaseRecordStrings(const EngTaskRecord &record, void (*freeMem)(void *));

// What a notification carries: the strings inside its records, then its
// buffer. The online verdict carries no buffer.
void releaseNotificationPayload(uint32_t msg, uintptr_t wParam, intptr_t lParam, void (*freeMem)(void *));

}  // namespace eng
