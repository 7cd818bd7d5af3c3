#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace kiv {

// A "kiv:" address: "kiv:" + referrer key + ":" + date text + ":" + task +
// ":" + the wrapped address (which may hold ':' itself). The referrer key is
// the URL hash of the page the address was reached from (0: none); the date
// text picks the stored version; the task is 0 for none.
struct OfflineAddress {
    int32_t referrerKey = 0;
    std::string dateText;
    uint32_t task = 0;
    std::string address;  // normalised as the engine stores addresses; empty when it cannot be

    // Parses an offline address. Only "kiv:" in lower case is one; fewer
    // than three fields after it make the text no offline address.
    static std::optional<OfflineAddress> parse(std::string_view text);
};

// The page addresses that a BASE tag stood for: its href text maps to the
// address of the page that declared it, so that links combined against the
// base are keyed by the page they were found on. Shared by every request of
// the library, and never emptied.
class BaseMap {
public:
    void set(const std::string &href, const std::string &pageAddress);
    // The page address for a text; looking a text up that is not there adds it with none.
    std::string lookup(const std::string &text);

private:
    std::mutex lock_;
    std::map<std::string, std::string> pages_;
};

// Builds offline addresses in the context of one request (its referrer key,
// date text and task) and combines links found in its pages.
class OfflineAddressBuilder {
public:
    OfflineAddressBuilder(const OfflineAddress &request, BaseMap &bases) : request_(request), bases_(bases) {}

    // The link form: keyed by the page that holds the link (keySource), or
    // by the page its BASE stood for.
    std::string linkForm(std::string_view address, const std::string &keySource) const;
    // The own form, for final addresses, BASE values and empty links: keyed
    // by the page a BASE stood for, else by the request's own referrer key.
    std::string ownForm(const std::string &address) const;

    // A link of a page under the offline base address, as an offline address:
    // links with another scheme than http, https, ftp and file (javascript:,
    // mailto:) stay as written; a fragment stays in place. Nothing when the
    // base is no offline address or the link cannot be combined.
    static std::optional<std::string> combine(std::string_view base, std::string_view relative, BaseMap &bases);
    // The same against a base already parsed, for the many links of one page.
    static std::optional<std::string> combine(const OfflineAddress &base, std::string_view relative, BaseMap &bases);

private:
    std::string build(int32_t key, std::string_view address) const;

    OfflineAddress request_;
    BaseMap &bases_;
};

}  // namespace kiv
