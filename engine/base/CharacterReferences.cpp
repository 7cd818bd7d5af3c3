#include "base/CharacterReferences.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace eng {

namespace {

// The character a reference stands for ("#38", "amp"), if it is one we decode.
std::optional<char> referencedCharacter(std::string_view name) {
    if (name == "nbsp") return ' ';
    if (name == "quot") return '"';
    if (name == "lt") return '<';
    if (name == "gt") return '>';
    if (name == "amp") return '&';
    if (!name.starts_with('#')) return std::nullopt;
    name.remove_prefix(1);
    // Decimal ("&#38;") or hexadecimal ("&#x26;"); from_chars reads past leading zeros.
    int base = 10;
    if (!name.empty() && (name.front() == 'x' || name.front() == 'X')) {
        name.remove_prefix(1);
        base = 16;
    }
    int code = 0;
    const char *end = name.data() + name.size();
    if (name.empty() || std::from_chars(name.data(), end, code, base).ptr != end) return std::nullopt;
    if (code == 9 || code == 32) return ' ';
    // A line feed is what "10" names; the address rules then drop it as browsers do.
    if (code == 10) return '\n';
    if ((code >= 33 && code <= 47) || (code >= 58 && code <= 64)) return static_cast<char>(code);
    return std::nullopt;
}

}  // namespace

std::string decodeCharacterReferences(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '&') {
            out += text[i++];
            continue;
        }
        const size_t end = std::min(text.find(';', i + 1), text.size());
        if (const std::optional<char> c = referencedCharacter(text.substr(i + 1, end - i - 1))) {
            out += *c;
            i = end + 1;
        } else {
            // Not one of ours: the '&' stays, and a reference inside the run is still read.
            out += text[i++];
        }
    }
    return out;
}

}  // namespace eng
