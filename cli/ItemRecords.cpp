#include "ItemRecords.h"

#include "RecordBuffer.h"
#include "engine.h"

namespace lark {

std::vector<ItemEntry> taskItems(uint32_t task) {
    using eng::client::ItemResource;
    std::vector<ItemEntry> out;
    for (const ItemResource &pair : eng::client::receiveRecords<ItemResource>(Eng_FreeMem, Eng_GetTaskItems, task)) {
        const EngItemRecord item = pair.item;
        const EngUrlResRecord r = pair.resource;
        out.push_back({item.item, item.level, r.state, r.status, r.size, r.error != 0, eng::client::text(r.url),
                       eng::client::text(r.errorText)});
    }
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
