#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace eng {

// Where a link's value stands in a style sheet, as written: the contents of
// a url(...) without its quotes and blanks, or of an @import rule's string.
// An import's value names a style sheet (by string or by url(...)); any
// other names what the rule uses (an image, a font).
struct StyleSheetValue {
    size_t offset = 0;
    size_t length = 0;
    bool import = false;
};

// The link values of a style sheet (a text/css body, a STYLE element's
// contents or a style attribute's value), in order. Comments and other
// strings are skipped; an escaped character never ends a value or a string.
// A url( must not follow a name character ("myurl(" is no url); a quoted
// value whose line ends before its quote, and an unquoted one holding a
// quote, a "(" or a blank before its ")", are no values, as browsers read
// them; one that the text ends in is taken as far as it goes. Empty and
// "data:" values are left out. One pass, forward only.
std::vector<StyleSheetValue> styleSheetValues(std::string_view css);

// A value with its CSS escapes read: "\" and up to six hex digits (with one
// blank after them) is that character as UTF-8 (U+FFFD for 0, a surrogate or
// one past U+10FFFF), "\" and a line break are nothing, "\" and any other
// byte is that byte.
std::string cssUnescaped(std::string_view value);

// Whether a content type is a style sheet's ("text/css", any case, with or
// without parameters).
bool isStyleSheetType(std::string_view contentType);

// The charset a style sheet's bytes are in, as iconv names it (empty for
// UTF-8): the one its content type names, else the one its leading
// @charset "..."; rule names, else UTF-8.
std::string styleSheetCharset(std::string_view contentType, std::string_view css);

}  // namespace eng
