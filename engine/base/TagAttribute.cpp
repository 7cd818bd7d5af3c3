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
    const size_t n = tagText.size();
    auto skipWhite = [&](size_t i) {
        while (i < n && isAsciiWhite(tagText[i])) ++i;
        return i;
    };
    size_t i = 0;
    while (true) {
        while (i < n && (isAsciiWhite(tagText[i]) || tagText[i] == '/')) ++i;
        if (i == n) return std::nullopt;
        // A name runs to white space, "/" or "="; an "=" that starts one belongs to it.
        const size_t nameStart = i++;
        while (i < n && !isAsciiWhite(tagText[i]) && tagText[i] != '/' && tagText[i] != '=') ++i;
        const bool wanted = equalsNoCase(tagText.substr(nameStart, i - nameStart), name);
        i = skipWhite(i);
        if (i == n || tagText[i] != '=') continue;  // a name without a value
        i = skipWhite(i + 1);
        if (i == n) return std::nullopt;
        const std::optional<std::string_view> raw = rawValueAt(tagText, i, wholeRest && wanted);
        if (!raw) return std::nullopt;  // an unclosed quote runs to the end of the tag
        if (wanted) {
            std::optional<std::string> value = cleanedValue(*raw);
            if (!value) return std::nullopt;
            return AttributeValue{std::move(*value), static_cast<size_t>(raw->data() - tagText.data()), raw->size()};
        }
        i = static_cast<size_t>(raw->data() - tagText.data()) + raw->size();
        if (i < n && (tagText[i] == '"' || tagText[i] == '\'')) ++i;
    }
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
