#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace eng {

// The value of wantedAttribute in the first tag outside comments whose name
// starts with tag and whose testAttribute value starts with testValue, letters
// compared without case: ("meta", "http-equiv", "content-type", "content")
// finds a page's content-type META. nullopt when there is no such tag or it
// has no such value. Broken markup ends the search: a "<" with no ">" after it,
// or a comment with no "-->".
std::optional<std::string> findTagAttribute(std::string_view page, std::string_view tag, std::string_view testAttribute,
                                            std::string_view testValue, std::string_view wantedAttribute);

// An attribute's value with where it stands in the tag text, as written
// (without its quotes).
struct AttributeValue {
    std::string text;
    size_t offset = 0;
    size_t rawLength = 0;
};

// The value of an attribute in a tag text (the bytes between "<" and ">"),
// read as browsers read attributes: names are whole (letter case ignored)
// and separated by white space or "/", and a value is never searched for
// names, so "data-src" is not "src" and neither is a "src=" inside another
// attribute's value. A value follows its name after optional white space and
// "=", quoted to the matching quote, else to the next white space (or, with
// wholeRest, to the end of the text). The first attribute of the name
// counts. Bytes 1-15 and 127 are removed and white space trimmed; an empty
// value is no value, and an unclosed quote ends the search.
std::optional<AttributeValue> findAttribute(std::string_view tagText, std::string_view name, bool wholeRest = false);
std::optional<std::string> tagAttributeValue(std::string_view tagText, std::string_view name);

// Calls visit(offset of the "<", tag text) for every tag of a page outside
// comments, in order, while it returns true. Broken markup ends the walk: a
// "<" with no ">" after it, or a comment with no "-->".
// A run of "<" before one ">" costs one search for it, not one per "<".
template <class Visit>
void forEachTag(std::string_view page, Visit visit) {
    size_t close = 0;  // the first ">" after the last "<" searched from
    for (size_t at = page.find('<'); at != std::string_view::npos; at = page.find('<', at + 1)) {
        if (page.substr(at + 1).starts_with("!--")) {
            const size_t end = page.find("-->", at + 4);
            if (end == std::string_view::npos) return;
            at = end + 2;
            continue;
        }
        if (close <= at) close = page.find('>', at + 1);
        if (close == std::string_view::npos) return;
        if (!visit(at, page.substr(at + 1, close - at - 1))) return;
    }
}

}  // namespace eng
