#include "core/AddressLookup.h"

#include <algorithm>

#include "base/PercentDecoding.h"
#include "store/ProjectTables.h"

namespace eng {

namespace {

// The address with the escapes of bytes from 0x80 in its query decoded. A
// link a page writes with such bytes is stored with them as written, while
// the browser asks for it with them percent-encoded.
std::string withRawQueryBytes(const std::string &address) {
    const size_t query = std::min(address.find('?'), address.size());
    return address.substr(0, query) + percentDecoded(std::string_view(address).substr(query), 0x80);
}

}  // namespace

std::optional<AddressKeys> storedKeysOf(ProjectTables &t, const std::string &canonicalAddress,
                                        const std::string &formData) {
    if (canonicalAddress.empty()) return std::nullopt;
    uint32_t urlId = t.strings.intern(canonicalAddress, StringKind::Url, false);
    if (urlId == 0)
        if (const std::string raw = withRawQueryBytes(canonicalAddress); raw != canonicalAddress)
            urlId = t.strings.intern(raw, StringKind::Url, false);
    const uint32_t postId = formData.empty() ? 0 : t.strings.intern(formData, StringKind::FormData, false);
    if (urlId == 0 || (!formData.empty() && postId == 0)) return std::nullopt;
    return AddressKeys{urlId, postId};
}

std::optional<UrlResRow> taskResource(ProjectTables &t, uint32_t task, const AddressKeys &keys) {
    if (task == 0) return std::nullopt;
    const auto item = t.items.inTask(task, keys.urlId, keys.postId);
    if (!item || item->urlResId == 0) return std::nullopt;
    return t.urlRes.find(int64_t{item->urlResId});
}

std::optional<UrlResRow> shownResource(ProjectTables &t, uint32_t task, const AddressKeys &keys, Date date) {
    if (auto own = taskResource(t, task, keys)) return own;
    return t.urlRes.findClosest(keys.urlId, keys.postId, date);
}

}  // namespace eng
