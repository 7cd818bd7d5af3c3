#include "base/CanonicalUrl.h"

#include <optional>

#include "base/CharacterReferences.h"
#include "base/Url.h"

namespace eng {

namespace {

// Bytes 1-15 and 127 removed and white space trimmed at both ends, as every
// address taken from a page is cleaned. (The removal leaves spaces as the only
// white space.)
std::string cleaned(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (!(c >= 1 && c <= 15) && c != 127) out += c;
    const size_t first = out.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return out.substr(first, out.find_last_not_of(' ') + 1 - first);
}

}  // namespace

std::string canonicalUrl(std::string_view text, bool keepFragment) {
    if (!keepFragment) text = text.substr(0, text.rfind('#'));
    if (text.empty()) return {};
    const std::optional<std::string> canonical =
        url::canonicalize(cleaned(decodeCharacterReferences(text)), url::NoEncode | url::Decode | url::BrowserMode);
    if (!canonical) return {};
    const std::optional<url::Parts> parts = url::split(*canonical);
    if (!parts || parts->kind == url::SchemeKind::Other) return {};
    return *canonical;
}

}  // namespace eng
