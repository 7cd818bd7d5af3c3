#pragma once

#include <optional>
#include <string_view>

namespace eng {

// The single-byte charsets that pages are read in: five Cyrillic ones and
// three Latin ones. Unknown stands for any other name (UTF-8 among them) and
// for no name; such text is taken as UTF-8, the system code page.
enum class CharsetIndex {
    Koi8R = 0,
    Windows1251 = 1,
    Cp866 = 2,
    Iso8859_5 = 3,
    MacCyrillic = 4,
    Windows1250 = 5,
    Iso8859_1 = 6,
    Iso8859_2 = 7,
    Unknown = 8,
};

// The charset a name selects. Names match exactly, letter case included, so
// "Windows-1251" selects nothing while "ISO-8859-1" is one of the names listed.
CharsetIndex charsetOfName(std::string_view name);

// The charset a "charset=" parameter names: the whole rest of the text after
// it, so "koi8-r; q=1" selects nothing. No "charset=" at all: nullopt.
std::optional<CharsetIndex> declaredCharset(std::string_view contentType);

// glibc iconv's name for a known charset; empty for Unknown.
std::string_view iconvName(CharsetIndex charset);

}  // namespace eng
