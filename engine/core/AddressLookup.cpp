#include "core/AddressLookup.h"

#include "store/ProjectTables.h"

namespace eng {

std::optional<AddressKeys> storedKeysOf(ProjectTables &t, const std::string &canonicalAddress,
                                        const std::string &formData) {
    if (canonicalAddress.empty()) return std::nullopt;
    const uint32_t urlId = t.strings.intern(canonicalAddress, StringKind::Url, false);
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
