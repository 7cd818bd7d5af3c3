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

// The value of an attribute in a tag text (the bytes between "<" and ">"):
// the name anywhere in the text followed by optional white space and "=";
// quoted to the matching quote, else to the next white space. Bytes 1-15 and
// 127 are removed and white space trimmed; an empty value is no value.
std::optional<std::string> tagAttributeValue(std::string_view tagText, std::string_view name);

}  // namespace eng
