#include "base/Utf8Recoding.h"

#include <cerrno>
#include <optional>
#include <string>
#include <system_error>

#include "base/IconvConverter.h"
#include "base/TagAttribute.h"

namespace eng {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Length of the well-formed UTF-8 sequence at the front of text, 0 when it
// is malformed: overlong, a surrogate or above U+10FFFF. Checked here rather
// than by iconv, whose UTF-8 reader lets code points above U+10FFFF through.
size_t wellFormedLength(std::string_view text) {
    const auto at = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = at(0);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80;  // bounds of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || at(1) < low || at(1) > high) return 0;
    for (size_t k = 2; k < length; ++k) {
        if ((at(k) & 0xC0) != 0x80) return 0;
    }
    return length;
}

// The code point of one well-formed UTF-8 sequence.
uint32_t codePoint(std::string_view sequence) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(sequence[k]); };
    if (sequence.size() == 1) return byte(0);
    uint32_t value = byte(0) & (0x7F >> sequence.size());
    for (size_t k = 1; k < sequence.size(); ++k) value = (value << 6) | (byte(k) & 0x3F);
    return value;
}

// UTF-8 text with each byte of a malformed sequence replaced; reading resumes
// at the byte after it.
std::string validUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const size_t length = wellFormedLength(text);
        if (length == 0) {
            out += kReplacement;
            text.remove_prefix(1);
        } else {
            out += text.substr(0, length);
            text.remove_prefix(length);
        }
    }
    return out;
}

// The charset a page's bytes are in, by what its header and then its META declare.
CharsetIndex pageCharset(std::string_view contentType, std::string_view page) {
    if (const std::optional<CharsetIndex> header = declaredCharset(contentType)) return *header;
    const std::optional<std::string> meta = findTagAttribute(page, "meta", "http-equiv", "content-type", "content");
    if (!meta) return CharsetIndex::Unknown;
    return declaredCharset(*meta).value_or(CharsetIndex::Unknown);
}

}  // namespace

std::string toUtf8(std::string_view text, CharsetIndex from) { return toUtf8(text, iconvName(from)); }

std::string toUtf8(std::string_view text, std::string_view charset) {
    if (charset.empty()) return validUtf8(text);
    IconvConverter converter("UTF-8", std::string(charset));
    std::string out;
    out.reserve(text.size());
    while (!converter.convert(text, out)) {
        // A byte the charset does not define: single-byte charsets fail one byte at a time.
        out += kReplacement;
        text.remove_prefix(1);
    }
    return out;
}

std::string fromUtf8(std::string_view text, std::string_view charset) {
    const std::string valid = validUtf8(text);
    if (charset.empty()) return valid;
    IconvConverter converter(std::string(charset), "UTF-8");
    std::string_view rest = valid;
    std::string out;
    out.reserve(rest.size());
    while (!converter.convert(rest, out)) {
        // A character the charset lacks is written as its numeric reference.
        const size_t length = wellFormedLength(rest);
        out += "&#" + std::to_string(codePoint(rest.substr(0, length))) + ";";
        rest.remove_prefix(length);
    }
    return out;
}

std::string pageToUtf8(std::string_view contentType, std::string_view page) {
    if (page.starts_with(kUtf8Bom)) return toUtf8(page.substr(kUtf8Bom.size()), CharsetIndex::Unknown);
    return toUtf8(page, pageCharset(contentType, page));
}

void appendUtf8(std::string &out, char32_t character) {
    if (character < 0x80) {
        out += static_cast<char>(character);
    } else if (character < 0x800) {
        out += static_cast<char>(0xC0 | (character >> 6));
        out += static_cast<char>(0x80 | (character & 0x3F));
    } else if (character < 0x10000) {
        out += static_cast<char>(0xE0 | (character >> 12));
        out += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (character & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (character >> 18));
        out += static_cast<char>(0x80 | ((character >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (character & 0x3F));
    }
}

}  // namespace eng
