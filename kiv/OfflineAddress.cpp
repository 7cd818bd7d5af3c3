#include "OfflineAddress.h"

#include <charconv>

#include "base/AsciiText.h"
#include "base/CanonicalUrl.h"
#include "base/PercentDecoding.h"
#include "base/Url.h"
#include "base/UrlHash.h"

namespace kiv {

namespace {

constexpr std::string_view kScheme = "kiv:";

template <class Number>
Number numberOf(std::string_view text) {
    Number value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

int32_t keyOf(std::string_view address) { return static_cast<int32_t>(eng::urlHash(address)); }

// True when the text starts with a scheme: a ':' before any '/', '?', '#'.
bool hasScheme(std::string_view text) {
    const auto colon = text.find(':');
    return colon != std::string_view::npos && colon < text.find_first_of("/?#");
}

bool isFetchableScheme(std::string_view text) {
    return eng::startsWithNoCase(text, "http") || eng::startsWithNoCase(text, "ftp") ||
           eng::startsWithNoCase(text, "file");
}

}  // namespace

std::optional<OfflineAddress> OfflineAddress::parse(std::string_view text) {
    if (!text.starts_with(kScheme)) return std::nullopt;
    std::string_view rest = text.substr(kScheme.size());
    std::string_view fields[3];
    for (std::string_view &field : fields) {
        const auto colon = rest.find(':');
        if (colon == std::string_view::npos && &field != &fields[2]) return std::nullopt;
        field = rest.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    OfflineAddress parsed;
    parsed.referrerKey = numberOf<int32_t>(fields[0]);
    parsed.dateText = eng::percentDecoded(fields[1]);
    parsed.task = numberOf<uint32_t>(fields[2]);
    parsed.address = eng::canonicalUrl(rest);
    return parsed;
}

void BaseMap::set(const std::string &href, const std::string &pageAddress) {
    std::lock_guard guard(lock_);
    pages_[href] = pageAddress;
}

std::string BaseMap::lookup(const std::string &text) {
    std::lock_guard guard(lock_);
    return pages_[text];
}

std::string OfflineAddressBuilder::build(int32_t key, std::string_view address) const {
    std::string built = std::string(kScheme) + std::to_string(key) + ":" + request_.dateText + ":" +
                        std::to_string(request_.task) + ":";
    for (const char c : address) {
        if (c == ' ')
            built += "%20";
        else
            built += c;
    }
    return built;
}

std::string OfflineAddressBuilder::linkForm(std::string_view address, const std::string &keySource) const {
    const std::string page = bases_.lookup(keySource);
    return build(keyOf(page.empty() ? keySource : page), address);
}

std::string OfflineAddressBuilder::ownForm(const std::string &address) const {
    const std::string page = bases_.lookup(address);
    return build(page.empty() ? request_.referrerKey : keyOf(page), address);
}

std::optional<std::string> OfflineAddressBuilder::combine(std::string_view base, std::string_view relative,
                                                          BaseMap &bases) {
    const auto parsed = OfflineAddress::parse(base);
    if (!parsed) return std::nullopt;
    return combine(*parsed, relative, bases);
}

std::optional<std::string> OfflineAddressBuilder::combine(const OfflineAddress &parsed, std::string_view relative,
                                                          BaseMap &bases) {
    if (hasScheme(relative) && !isFetchableScheme(relative)) return std::string(relative);
    const auto hash = relative.find('#');
    const auto query = relative.find('?');
    std::string_view fragment;
    if (hash != std::string_view::npos && (query == std::string_view::npos || hash < query)) {
        fragment = relative.substr(hash);
        relative = relative.substr(0, hash);
    }
    const OfflineAddressBuilder builder(parsed, bases);
    std::string combined;
    if (relative.empty()) {
        combined = builder.ownForm(parsed.address);
    } else if (hasScheme(relative)) {
        combined = builder.linkForm(relative, parsed.address);
    } else {
        const auto absolute = eng::url::combine(parsed.address, relative, eng::url::NoEncode);
        if (!absolute) return std::nullopt;
        combined = builder.linkForm(*absolute, parsed.address);
    }
    return combined + std::string(fragment);
}

}  // namespace kiv
