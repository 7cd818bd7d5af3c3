#pragma once

#include <string>
#include <string_view>

#include "base/Charset.h"

namespace eng {

// Text in a charset as UTF-8, the system code page. Unknown text is read as
// UTF-8 already. A byte the charset does not define, or a byte of a malformed
// UTF-8 sequence, becomes U+FFFD, so the result is valid UTF-8 whatever the
// input; every other byte, control bytes and NUL included, is kept.
std::string toUtf8(std::string_view text, CharsetIndex from);
// The same from a charset as iconv names it; an empty name is UTF-8. Throws
// std::system_error for a name iconv does not know.
std::string toUtf8(std::string_view text, std::string_view charset);

// UTF-8 text in a charset as iconv names it (an empty name is UTF-8), as
// browsers encode form data and queries: a character the charset lacks
// becomes its numeric character reference "&#N;". Malformed UTF-8 is read as
// toUtf8 reads it. Throws std::system_error for a name iconv does not know.
std::string fromUtf8(std::string_view text, std::string_view charset);

// Appends a character's UTF-8 bytes (a value past U+10FFFF is written as
// its four low bytes would read; callers pass valid characters).
void appendUtf8(std::string &out, char32_t character);

// A page's text as UTF-8. The charset it is read in is the one the content
// type's "charset=" names, known or not; without one, the one named by the
// page's content-type META; without that, UTF-8. A page that starts with a
// UTF-8 byte order mark is UTF-8 whatever it declares, and loses the mark.
std::string pageToUtf8(std::string_view contentType, std::string_view page);

}  // namespace eng
