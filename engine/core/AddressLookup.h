#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/DateTime.h"
#include "store/CUrlResTable.h"

namespace eng {

struct ProjectTables;

// The string keys of an address (canonical) and its form data.
struct AddressKeys {
    uint32_t urlId;
    uint32_t postId;
};

// The keys of an address and its form data, looked up without adding them;
// nothing when either was never stored (no copy can exist then). An address
// whose query has percent-encoded bytes from 0x80, as the browser asks for
// it, also finds the one stored with those bytes as a page wrote them.
std::optional<AddressKeys> storedKeysOf(ProjectTables &t, const std::string &canonicalAddress,
                                        const std::string &formData);

// The resource of the task's item for the address, if the task has one.
std::optional<UrlResRow> taskResource(ProjectTables &t, uint32_t task, const AddressKeys &keys);

// The stored version of an address the browser shows: the task's own when a
// task is given and has one, else the fetch closest to the date.
std::optional<UrlResRow> shownResource(ProjectTables &t, uint32_t task, const AddressKeys &keys, Date date);

}  // namespace eng
