#include "ItemRecords.h"

#include <cstring>

#include "RecordRelease.h"
#include "engine.h"

namespace lark {

std::vector<ItemEntry> taskItems(uint32_t task) {
    void *addr = nullptr;
    uint32_t len = 0;
    Eng_GetTaskItems(task, &addr, &len);
    // The buffer holds an item record then a resource record, packed, per item.
    constexpr size_t kPair = sizeof(EngItemRecord) + sizeof(EngUrlResRecord);
    std::vector<ItemEntry> out;
    for (size_t offset = 0; offset + kPair <= len; offset += kPair) {
        EngItemRecord item;
        EngUrlResRecord r;
        std::memcpy(&item, static_cast<char *>(addr) + offset, sizeof item);
        std::memcpy(&r, static_cast<char *>(addr) + offset + sizeof item, sizeof r);
        out.push_back({item.item, item.level, r.state, r.status, r.size, r.error != 0, r.url, r.errorText});
        eng::releaseRecordStrings(r, Eng_FreeMem);
    }
    Eng_FreeMem(addr);
    return out;
}

std::string resourceStateWord(uint8_t state) {
    switch (state) {
        case ENG_STATE_DONE:
            return "done";
        case ENG_STATE_QUEUED:
            return "queued";
        case ENG_STATE_DOWNLOADING:
            return "downloading";
        case ENG_STATE_SUSPENDED:
            return "suspended";
        default:
            return std::to_string(state);
    }
}

}  // namespace lark
