#pragma once

#include <cstdint>

namespace eng {

// Releases what an engine notification carries, for a client of the engine:
// the strings inside its records, then its buffer, each with the engine's
// Eng_FreeMem as the client has it (linked or bound at run time). The online
// verdict carries no buffer.
void releaseNotificationPayload(uint32_t msg, uintptr_t wParam, intptr_t lParam, void (*freeMem)(void *));

}  // namespace eng
