#include "base/Charset.h"

#include "base/AsciiSearch.h"

namespace eng {

namespace {

struct CharsetName {
    std::string_view name;
    CharsetIndex index;
};

// Walked in order, first exact match wins: "win" is Windows-1251.
constexpr CharsetName kNames[] = {
    {"koi8r", CharsetIndex::Koi8R},
    {"koi8-r", CharsetIndex::Koi8R},
    {"koi-8-r", CharsetIndex::Koi8R},
    {"koi8", CharsetIndex::Koi8R},
    {"koi-8", CharsetIndex::Koi8R},
    {"koi", CharsetIndex::Koi8R},
    {"windows-1251", CharsetIndex::Windows1251},
    {"windows1251", CharsetIndex::Windows1251},
    {"win", CharsetIndex::Windows1251},
    {"x-cp1251", CharsetIndex::Windows1251},
    {"cp1251", CharsetIndex::Windows1251},
    {"cp-1251", CharsetIndex::Windows1251},
    {"ibm866", CharsetIndex::Cp866},
    {"csibm866", CharsetIndex::Cp866},
    {"866", CharsetIndex::Cp866},
    {"cp866", CharsetIndex::Cp866},
    {"x-cp866", CharsetIndex::Cp866},
    {"x-ibm866", CharsetIndex::Cp866},
    {"cp-866", CharsetIndex::Cp866},
    {"alt", CharsetIndex::Cp866},
    {"ISO-8859-5", CharsetIndex::Iso8859_5},
    {"iso_8859-5:1988", CharsetIndex::Iso8859_5},
    {"iso-ir-144", CharsetIndex::Iso8859_5},
    {"iso_8859-5", CharsetIndex::Iso8859_5},
    {"cyrillic", CharsetIndex::Iso8859_5},
    {"iso8859-5", CharsetIndex::Iso8859_5},
    {"iso-8859.5", CharsetIndex::Iso8859_5},
    {"iso8859.5", CharsetIndex::Iso8859_5},
    {"x-mac-cyrillic", CharsetIndex::MacCyrillic},
    {"windows-1250", CharsetIndex::Windows1250},
    {"windows1250", CharsetIndex::Windows1250},
    {"x-cp1250", CharsetIndex::Windows1250},
    {"cp1250", CharsetIndex::Windows1250},
    {"cp-1250", CharsetIndex::Windows1250},
    {"ISO-8859-1", CharsetIndex::Iso8859_1},
    {"iso_8859-1:1988", CharsetIndex::Iso8859_1},
    {"iso_8859-1", CharsetIndex::Iso8859_1},
    {"iso-8859-1", CharsetIndex::Iso8859_1},
    {"iso8859-1", CharsetIndex::Iso8859_1},
    {"iso-8859.1", CharsetIndex::Iso8859_1},
    {"iso8859.1", CharsetIndex::Iso8859_1},
    {"ISO-8859-2", CharsetIndex::Iso8859_2},
    {"iso_8859-2:1988", CharsetIndex::Iso8859_2},
    {"iso_8859-2", CharsetIndex::Iso8859_2},
    {"iso-8859-2", CharsetIndex::Iso8859_2},
    {"iso8859-2", CharsetIndex::Iso8859_2},
    {"iso-8859.2", CharsetIndex::Iso8859_2},
    {"iso8859.2", CharsetIndex::Iso8859_2},
};

// glibc's names, in CharsetIndex order.
constexpr std::string_view kIconvNames[] = {
    "KOI8-R", "CP1251", "CP866", "ISO-8859-5", "MAC-CYRILLIC", "CP1250", "ISO-8859-1", "ISO-8859-2",
};

}  // namespace

CharsetIndex charsetOfName(std::string_view name) {
    for (const CharsetName &row : kNames) {
        if (row.name == name) return row.index;
    }
    return CharsetIndex::Unknown;
}

std::optional<CharsetIndex> declaredCharset(std::string_view contentType) {
    constexpr std::string_view kParameter = "charset=";
    const size_t at = findNoCase(contentType, kParameter);
    if (at == std::string_view::npos) return std::nullopt;
    return charsetOfName(contentType.substr(at + kParameter.size()));
}

std::string_view iconvName(CharsetIndex charset) {
    if (charset == CharsetIndex::Unknown) return {};
    return kIconvNames[static_cast<size_t>(charset)];
}

}  // namespace eng
