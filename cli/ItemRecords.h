#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lark {

// An item of a task with the URL resource it holds, copied out of the
// engine's pair of records.
struct ItemEntry {
    uint32_t item;
    int32_t level;
    uint8_t state;  // of the resource
    int32_t status;
    uint32_t size;
    bool error;
    std::string url, errorText;
};

// The items of a task that have a resource.
std::vector<ItemEntry> taskItems(uint32_t task);
// "done", "queued", "downloading" or "suspended" (the number of any other state).
std::string resourceStateWord(uint8_t state);

}  // namespace lark
