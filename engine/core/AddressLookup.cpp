#include "core/AddressLookup.h"

#include "store/ProjectTables.h"

namespace eng {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The address with the escapes of bytes from 0x80 in its query decoded. A
// link a page writes with such bytes is stored with them as written, while
// the browser asks for it with them percent-encoded.
std::string withRawQueryBytes(const std::string &address) {
    const size_t query = address.find('?');
    if (query == std::string::npos) return address;
    std::string out = address.substr(0, query);
    for (size_t i = query; i < address.size(); ++i) {
        const int high = i + 2 < address.size() ? hexValue(address[i + 1]) : -1;
        const int low = high >= 8 ? hexValue(address[i + 2]) : -1;
        if (address[i] == '%' && low >= 0) {
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += address[i];
        }
    }
    return out;
}

}  // namespace

std::optional<AddressKeys> storedKeysOf(ProjectTables &t, const std::string &canonicalAddress,
                                        const std::string &formData) {
    if (canonicalAddress.empty()) return std::nullopt;
    uint32_t urlId = t.strings.intern(canonicalAddress, StringKind::Url, false);
    if (urlId == 0) urlId = t.strings.intern(withRawQueryBytes(canonicalAddress), StringKind::Url, false);
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
