#include "BaseHref.h"

#include "OfflineAddress.h"
#include "base/AsciiText.h"
#include "base/Url.h"

namespace kiv {

namespace {

size_t skipWhite(std::string_view text, size_t at) {
    while (at < text.size() && eng::isAsciiWhite(text[at])) ++at;
    return at;
}

// Where the value of an "href =" in the tag starts, or npos.
size_t hrefValueStart(std::string_view tag) {
    const std::string lowered = eng::asciiLowered(tag);
    for (size_t at = lowered.find("href"); at != std::string::npos; at = lowered.find("href", at + 1)) {
        const size_t equals = skipWhite(tag, at + 4);
        if (equals < tag.size() && tag[equals] == '=') return skipWhite(tag, equals + 1);
    }
    return std::string_view::npos;
}

// The value's extent from its start: a quoted value ends at the next double
// quote, else the next single quote, else the next space; an unquoted one at
// the next space; either at the tag's end when nothing ends it sooner.
std::pair<size_t, size_t> valueExtent(std::string_view tag, size_t start) {
    if (start < tag.size() && (tag[start] == '"' || tag[start] == '\'')) {
        ++start;
        for (const char end : {'"', '\'', ' '})
            if (const size_t at = tag.find(end, start); at != std::string_view::npos) return {start, at};
        return {start, tag.size()};
    }
    const size_t space = tag.find(' ', start);
    return {start, space == std::string_view::npos ? tag.size() : space};
}

}  // namespace

std::optional<BaseHref> findBaseHref(std::string_view page) {
    for (size_t open = page.find('<'); open != std::string_view::npos; open = page.find('<', open + 1)) {
        if (page.size() - open - 1 < 4 || !eng::startsWithNoCase(page.substr(open + 1, 4), "base")) continue;
        const size_t close = page.find('>', open);
        const std::string_view tag = page.substr(open, close == std::string_view::npos ? page.npos : close - open);
        const size_t start = hrefValueStart(tag);
        if (start == std::string_view::npos) continue;
        const auto [from, to] = valueExtent(tag, start);
        return BaseHref{open + from, to - from, std::string(tag.substr(from, to - from))};
    }
    return std::nullopt;
}

OfflineBase withOfflineBase(std::string_view page, const std::string &pageAddress,
                            const OfflineAddressBuilder &addresses, BaseMap &bases) {
    const auto href = findBaseHref(page);
    if (!href) return {std::string(page), {}};
    // A relative href stands for the address it names from the page.
    const std::string base = eng::url::combine(pageAddress, href->value, eng::url::NoEncode).value_or(href->value);
    bases.set(base, pageAddress);
    OfflineBase rewritten{std::string(page.substr(0, href->offset)), addresses.ownForm(base)};
    rewritten.page += rewritten.base;
    rewritten.page += page.substr(href->offset + href->length);
    return rewritten;
}

}  // namespace kiv
