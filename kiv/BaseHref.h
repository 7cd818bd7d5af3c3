#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kiv {

class BaseMap;
class OfflineAddressBuilder;

// The href value of a page's first BASE tag that has one: where the value
// stands and its text. Tags are found by a plain search ("<" and "BASE" in
// any case; comments are not skipped).
struct BaseHref {
    size_t offset = 0;
    size_t length = 0;
    std::string value;
};
std::optional<BaseHref> findBaseHref(std::string_view page);

// The page with its BASE href (made absolute against the page's address)
// turned into an offline address, the base recorded as standing for the
// page's own address, so that links combined against it are keyed by this
// page. A page without one comes back as it is.
struct OfflineBase {
    std::string page;
    std::string base;  // the offline address the BASE now names; empty without one
};
OfflineBase withOfflineBase(std::string_view page, const std::string &pageAddress,
                            const OfflineAddressBuilder &addresses, BaseMap &bases);

}  // namespace kiv
