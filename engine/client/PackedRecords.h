#pragma once

#include <cstddef>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <type_traits>

#include "engine.h"

// The engine's records as a client reads them out of a buffer: packed, so
// never addressed in place (their fields may not be aligned), only copied
// out, and only where the buffer holds the whole record.
namespace eng::client {

#pragma pack(push, 1)
// An item with its URL resource, as the item lists (Eng_GetTaskItems,
// Eng_FindTaskItem, Eng_GetRelItems) and the address lookups
// (Eng_GetItemFromUrl, Eng_GetItemFromUrlResID) answer, one pair after the
// other. The item is all zero where the resource stands alone.
struct ItemResource {
    EngItemRecord item;
    EngUrlResRecord resource;
};

// The payload of ENG_NOTIFY_URLRES: the action (ENG_URLRES_*), then the pair.
struct ResourceNotification {
    uint8_t action;
    EngItemRecord item;
    EngUrlResRecord resource;
};
#pragma pack(pop)

static_assert(sizeof(ItemResource) == sizeof(EngItemRecord) + sizeof(EngUrlResRecord));
static_assert(sizeof(ResourceNotification) == 1 + sizeof(ItemResource));

// A copy of the record that starts at the offset; nothing when the bytes end
// before the record does.
template <class Record>
std::optional<Record> recordAt(std::span<const std::byte> bytes, size_t offset) {
    static_assert(std::is_trivially_copyable_v<Record>);
    if (offset > bytes.size() || bytes.size() - offset < sizeof(Record)) return std::nullopt;
    Record record;
    std::memcpy(&record, bytes.data() + offset, sizeof record);
    return record;
}

// A string field of a record as text; a null field is empty. Read it while
// the buffer that holds the record is owned.
inline std::string text(const char *field) { return field ? std::string(field) : std::string(); }

}  // namespace eng::client
