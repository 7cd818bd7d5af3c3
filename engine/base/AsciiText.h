#pragma once

#include <algorithm>
#include <string>
#include <string_view>

// Byte-wise text primitives of addresses and pages: letter case folds only
// A-Z, white space is the bytes 9 to 13 and space, whatever the locale.
namespace eng {

inline bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }
inline bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool isAsciiWhite(char c) { return c == ' ' || (c >= 9 && c <= 13); }
inline char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

inline std::string asciiLowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), asciiLower);
    return out;
}

inline bool equalsNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

inline bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

inline std::string_view trimmedWhite(std::string_view text) {
    while (!text.empty() && isAsciiWhite(text.front())) text.remove_prefix(1);
    while (!text.empty() && isAsciiWhite(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace eng
