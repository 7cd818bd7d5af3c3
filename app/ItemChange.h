#pragma once

#include <cstdint>

// A change the engine reports of one item of a task and the URL resource it
// points to.
struct ItemChange {
    uint8_t action = 0;  // ENG_URLRES_ITEM_GOT_RESOURCE, ENG_URLRES_CHANGED or ENG_URLRES_DELETING
    uint32_t urlResId = 0;
    uint32_t item = 0;
    uint32_t task = 0;
};
