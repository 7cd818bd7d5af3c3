#include "base/TagAttribute.h"

#include <algorithm>

#include "base/AsciiSearch.h"

namespace eng {

namespace {

// The raw value that starts at i (just after "=" and any white space), or
// nullopt when a quoted value has no closing quote.
std::optional<std::string_view> rawValueAt(std::string_view text, size_t i, bool wholeRest) {
    const char quote = text[i];
    if (quote == '"' || quote == '\'') {
        const size_t end = text.find(quote, i + 1);
        if (end == std::string_view::npos) return std::nullopt;
        return text.substr(i + 1, end - i - 1);
    }
    if (wholeRest) return text.substr(i);
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

std::optional<AttributeValue> findAttribute(std::string_view tagText, std::string_view name, bool wholeRest) {
    for (size_t at = findNoCase(tagText, name); at != std::string_view::npos; at = findNoCase(tagText, name, at + 1)) {
        size_t i = at + name.size();
        while (i < tagText.size() && isAsciiWhite(tagText[i])) ++i;
        if (i == tagText.size() || tagText[i] != '=') continue;  // the name without "=": look further
        ++i;
        while (i < tagText.size() && isAsciiWhite(tagText[i])) ++i;
        if (i == tagText.size()) return std::nullopt;
        const std::optional<std::string_view> raw = rawValueAt(tagText, i, wholeRest);
        if (!raw) return std::nullopt;
        std::optional<std::string> value = cleanedValue(*raw);
        if (!value) return std::nullopt;
        return AttributeValue{std::move(*value), static_cast<size_t>(raw->data() - tagText.data()), raw->size()};
    }
    return std::nullopt;
}

std::optional<std::string> tagAttributeValue(std::string_view tagText, std::string_view name) {
    auto found = findAttribute(tagText, name);
    if (!found) return std::nullopt;
    return std::move(found->text);
}

std::optional<std::string> findTagAttribute(std::string_view page, std::string_view tag, std::string_view testAttribute,
                                            std::string_view testValue, std::string_view wantedAttribute) {
    std::optional<std::string> wanted;
    forEachTag(page, [&](size_t, std::string_view tagText) {
        if (!startsWithNoCase(tagText, tag)) return true;
        const std::optional<std::string> test = tagAttributeValue(tagText, testAttribute);
        if (!test || !startsWithNoCase(*test, testValue)) return true;
        wanted = tagAttributeValue(tagText, wantedAttribute);
        return false;
    });
    return wanted;
}

}  // namespace eng
