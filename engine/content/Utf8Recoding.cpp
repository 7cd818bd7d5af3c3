#include "content/Utf8Recoding.h"

#include <iconv.h>

#include <cerrno>
#include <optional>
#include <string>
#include <system_error>

#include "content/TagAttribute.h"

namespace eng {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// An iconv conversion into UTF-8, closed when it goes out of scope.
class Utf8Converter {
public:
    explicit Utf8Converter(const std::string &from) : cd_(iconv_open("UTF-8", from.c_str())) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::system_error(errno, std::generic_category(), "iconv_open " + from);
        }
    }
    ~Utf8Converter() { iconv_close(cd_); }
    Utf8Converter(const Utf8Converter &) = delete;
    Utf8Converter &operator=(const Utf8Converter &) = delete;

    // Converts from the front of in, appending to out, until in is used up
    // (true) or stops at a byte that cannot be converted (false).
    bool convert(std::string_view &in, std::string &out) {
        while (!in.empty()) {
            const size_t used = out.size();
            out.resize(used + in.size() * 3 + 16);  // room for most text; E2BIG asks for more
            char *source = const_cast<char *>(in.data());
            size_t sourceLeft = in.size();
            char *target = out.data() + used;
            size_t targetLeft = out.size() - used;
            const size_t result = iconv(cd_, &source, &sourceLeft, &target, &targetLeft);
            const int error = errno;
            out.resize(out.size() - targetLeft);
            in.remove_prefix(in.size() - sourceLeft);
            if (result == static_cast<size_t>(-1) && error != E2BIG) return false;
        }
        return true;
    }

private:
    iconv_t cd_;
};

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

std::string toUtf8(std::string_view text, CharsetIndex from) {
    if (from == CharsetIndex::Unknown) return validUtf8(text);
    Utf8Converter converter{std::string(iconvName(from))};
    std::string out;
    out.reserve(text.size());
    while (!converter.convert(text, out)) {
        // A byte the charset does not define: single-byte charsets fail one byte at a time.
        out += kReplacement;
        text.remove_prefix(1);
    }
    return out;
}

std::string pageToUtf8(std::string_view contentType, std::string_view page) {
    if (page.starts_with(kUtf8Bom)) return toUtf8(page.substr(kUtf8Bom.size()), CharsetIndex::Unknown);
    return toUtf8(page, pageCharset(contentType, page));
}

}  // namespace eng
