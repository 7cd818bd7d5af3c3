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
// an applet's code value, a class name relative to its codebase), and the
// url(...) and @import references of its STYLE elements and style
// attributes, replaced by what the combiner gives. A value reaches the
// combiner as the browser reads it and its replacement is written to stand
// in an attribute quoted either way or unquoted. Script contents and every
// byte outside a replaced value stay as they are. The page's own web address
// serves the scanner only.
std::string withOfflineLinks(std::string_view page, std::string_view pageAddress, const LinkCombiner &combine);

// A style sheet with its url(...) values (quoted either way or unquoted) and
// the strings of its @import rules replaced by what the combiner gives; a
// "data:" value stays. Values go to the combiner as written (CSS escapes are
// not read); comments and other strings are skipped.
std::string cssWithOfflineLinks(std::string_view css, const LinkCombiner &combine);

}  // namespace kiv
