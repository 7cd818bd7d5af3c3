#pragma once

#include <cstdint>

#include "items/ItemRow.h"

// A change the engine reports of one item of a task and the URL resource it
// points to, with the row copied out of the notification's records, so that
// the item views follow it without asking the engine again.
struct ItemChange {
    uint8_t action = 0;  // ENG_URLRES_ITEM_GOT_RESOURCE, ENG_URLRES_CHANGED or ENG_URLRES_DELETING
    uint32_t urlResId = 0;
    uint32_t item = 0;
    uint32_t task = 0;
    ItemRow row;
};
