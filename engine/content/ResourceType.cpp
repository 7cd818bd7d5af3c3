#include "content/ResourceType.h"

#include <algorithm>

#include "base/AsciiText.h"

namespace eng {

namespace {

bool containsNoCase(std::string_view text, std::string_view needle) {
    return std::search(text.begin(), text.end(), needle.begin(), needle.end(),
                       [](char a, char b) { return asciiLower(a) == asciiLower(b); }) != text.end();
}

// Text is tab, line feed, carriage return and every byte from 32 (bytes from
// 128 count as text).
bool isTextByte(char c) { return c == '\t' || c == '\n' || c == '\r' || static_cast<unsigned char>(c) >= 32; }

}  // namespace

ResType sniffResourceType(std::string_view body, std::string_view contentType) {
    const size_t start = std::find_if_not(body.begin(), body.end(), isAsciiWhite) - body.begin();
    const std::string_view bytes = body.substr(start);
    if (bytes.size() >= 2) {
        if (bytes[0] == '\xFF' && bytes[1] == '\xD8') return ResType::Jpeg;
        if (startsWithNoCase(bytes, "bm")) return ResType::Bmp;
    }
    if (bytes.size() < 6) return ResType::Other;
    if (startsWithNoCase(bytes, "gif8") && isAsciiDigit(bytes[4]) && bytes[5] == 'a') return ResType::Gif;
    if (bytes[0] == '<' || containsNoCase(bytes.substr(0, kSniffLength), "<html>")) return ResType::Html;
    if (contentType != "text/plain") return ResType::Other;
    const std::string_view head = bytes.substr(0, 255);
    return std::all_of(head.begin(), head.end(), isTextByte) ? ResType::PlainText : ResType::Other;
}

}  // namespace eng
