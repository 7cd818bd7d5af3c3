#include "content/TagAttribute.h"

#include <algorithm>

#include "content/AsciiSearch.h"

namespace eng {

namespace {

// The raw value that starts at i (just after "=" and any white space), or
// nullopt when a quoted value has no closing quote.
std::optional<std::string_view> rawValueAt(std::string_view text, size_t i) {
    const char quote = text[i];
    if (quote == '"' || quote == '\'') {
        const size_t end = text.find(quote, i + 1);
        if (end == std::string_view::npos) return std::nullopt;
        return text.substr(i + 1, end - i - 1);
    }
    const auto end = std::find_if(text.begin() + i, text.end(), isAsciiWhite);
    return text.substr(i, end - (text.begin() + i));
}

std::optional<std::string> cleanedValue(std::string_view raw) {
    std::string value;
    for (char c : raw) {
        if ((c < 1 || c > 15) && c != 127) value += c;
    }
    value = std::string(trimmedWhite(value));
    if (value.empty()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::string> tagAttributeValue(std::string_view tagText, std::string_view name) {
    for (size_t at = findNoCase(tagText, name); at != std::string_view::npos; at = findNoCase(tagText, name, at + 1)) {
        size_t i = at + name.size();
        while (i < tagText.size() && isAsciiWhite(tagText[i])) ++i;
        if (i == tagText.size() || tagText[i] != '=') continue;  // the name without "=": look further
        ++i;
        while (i < tagText.size() && isAsciiWhite(tagText[i])) ++i;
        if (i == tagText.size()) return std::nullopt;
        const std::optional<std::string_view> raw = rawValueAt(tagText, i);
        if (!raw) return std::nullopt;
        return cleanedValue(*raw);
    }
    return std::nullopt;
}

std::optional<std::string> findTagAttribute(std::string_view page, std::string_view tag, std::string_view testAttribute,
                                            std::string_view testValue, std::string_view wantedAttribute) {
    for (size_t at = page.find('<'); at != std::string_view::npos; at = page.find('<', at + 1)) {
        if (page.substr(at + 1).starts_with("!--")) {
            const size_t end = page.find("-->", at + 4);
            if (end == std::string_view::npos) return std::nullopt;
            at = end + 2;
            continue;
        }
        const size_t close = page.find('>', at + 1);
        if (close == std::string_view::npos) return std::nullopt;
        const std::string_view tagText = page.substr(at + 1, close - at - 1);
        if (!startsWithNoCase(tagText, tag)) continue;
        const std::optional<std::string> test = tagAttributeValue(tagText, testAttribute);
        if (test && startsWithNoCase(*test, testValue)) return tagAttributeValue(tagText, wantedAttribute);
    }
    return std::nullopt;
}

}  // namespace eng
