#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kiv {

// Given a link's value as the browser would read it (character references
// decoded), the text to put in its place; nullopt leaves the link as written.
using LinkCombiner = std::function<std::optional<std::string>(std::string_view value)>;

// A page as delivered to the browser, which cannot combine links against an
// offline address itself: every link the engine's scanner finds in it (but
// an applet's code value, a class name relative to its codebase) replaced by
// what the combiner gives: attribute values, each address of a srcset, and
// the url(...) and @import values of its STYLE elements and style
// attributes. A value reaches the combiner as the browser reads it
// (character references or CSS escapes read) and its replacement is written
// to stand where the value stood: in an attribute quoted either way or
// unquoted, in CSS, or in CSS in an attribute. Script contents and every
// byte outside a replaced value stay as they are. The page's own web address
// serves the scanner only.
std::string withOfflineLinks(std::string_view page, std::string_view pageAddress, const LinkCombiner &combine);

// A style sheet with its url(...) values (quoted either way or unquoted) and
// the strings of its @import rules replaced by what the combiner gives, as
// the engine's style sheet scan finds them (a "data:" value stays). Values go
// to the combiner with their CSS escapes read; comments and other strings
// are skipped.
std::string cssWithOfflineLinks(std::string_view css, const LinkCombiner &combine);

}  // namespace kiv
