#include "base/StyleSheetScanner.h"

#include <algorithm>

#include "base/AsciiText.h"
#include "base/PageCharset.h"
#include "base/Utf8Recoding.h"

namespace eng {

namespace {

bool isQuote(char c) { return c == '"' || c == '\''; }

bool isLineBreak(char c) { return c == '\n' || c == '\r' || c == '\f'; }

bool isNameByte(char c) {
    return isAsciiLetter(c) || isAsciiDigit(c) || c == '-' || c == '_' || c == '\\' ||
           static_cast<unsigned char>(c) >= 128;
}

int hexValue(char c) {
    if (isAsciiDigit(c)) return c - '0';
    const char lower = asciiLower(c);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// Where an escape that starts at `at` (a "\\") ends: after its hex digits
// and the one blank that may end them, else after the byte it escapes.
size_t escapeEnd(std::string_view css, size_t at) {
    size_t end = at + 1;
    while (end < css.size() && end - at <= 6 && hexValue(css[end]) >= 0) ++end;
    if (end == at + 1) return std::min(at + 2, css.size());
    if (css.substr(end).starts_with("\r\n")) return end + 2;
    return end < css.size() && isAsciiWhite(css[end]) ? end + 1 : end;
}

class ValueScan {
public:
    explicit ValueScan(std::string_view css) : css_(css) {}

    std::vector<StyleSheetValue> run() {
        while (at_ < css_.size()) step();
        return std::move(values_);
    }

private:
    void step() {
        const std::string_view rest = css_.substr(at_);
        if (rest.starts_with("/*")) {
            const size_t end = css_.find("*/", at_ + 2);
            at_ = end == std::string_view::npos ? css_.size() : end + 2;
        } else if (isQuote(rest.front())) {
            at_ = stringEnd(at_).next;
        } else if (rest.front() == '\\') {
            at_ = escapeEnd(css_, at_);  // an escaped character starts nothing
        } else if (startsWithNoCase(rest, "url(") && (at_ == 0 || !isNameByte(css_[at_ - 1]))) {
            urlValue(at_ + 4, false);
        } else if (startsWithNoCase(rest, "@import") && (rest.size() == 7 || !isNameByte(rest[7]))) {
            importValue(skipBlanks(at_ + 7));
        } else {
            ++at_;
        }
    }

    struct StringEnd {
        size_t contentsEnd;
        bool closed;
        size_t next;
    };

    // A string from its opening quote: an unescaped line break ends it unclosed.
    StringEnd stringEnd(size_t quoteAt) const {
        const char quote = css_[quoteAt];
        size_t at = quoteAt + 1;
        while (at < css_.size() && css_[at] != quote && !isLineBreak(css_[at]))
            at = css_[at] == '\\' ? escapeEnd(css_, at) : at + 1;
        at = std::min(at, css_.size());
        const bool closed = at < css_.size() && css_[at] == quote;
        return {at, closed, closed ? at + 1 : at};
    }

    size_t skipBlanks(size_t at) const {
        while (at < css_.size() && isAsciiWhite(css_[at])) ++at;
        return at;
    }

    // The value of a url( whose contents start at `at`.
    void urlValue(size_t at, bool import) {
        at = skipBlanks(at);
        if (at < css_.size() && isQuote(css_[at])) return quotedValue(at, import);
        const size_t start = at;
        bool bad = false;
        while (at < css_.size() && css_[at] != ')' && !isAsciiWhite(css_[at])) {
            bad = bad || isQuote(css_[at]) || css_[at] == '(';
            const bool escape = css_[at] == '\\' && at + 1 < css_.size() && !isLineBreak(css_[at + 1]);
            at = escape ? escapeEnd(css_, at) : at + 1;
        }
        const size_t end = std::min(at, css_.size());
        at = skipBlanks(end);
        bad = bad || (at < css_.size() && css_[at] != ')');
        if (!bad) add({start, end - start, import});
        at_ = at;
    }

    // The string or url( an @import names.
    void importValue(size_t at) {
        if (at < css_.size() && isQuote(css_[at])) return quotedValue(at, true);
        if (startsWithNoCase(css_.substr(at), "url(")) return urlValue(at + 4, true);
        at_ = at;
    }

    void quotedValue(size_t quoteAt, bool import) {
        const StringEnd string = stringEnd(quoteAt);
        if (string.closed) add({quoteAt + 1, string.contentsEnd - quoteAt - 1, import});
        at_ = string.next;
    }

    void add(StyleSheetValue value) {
        const std::string_view text = css_.substr(value.offset, value.length);
        if (!text.empty() && !startsWithNoCase(text, "data:")) values_.push_back(value);
    }

    std::string_view css_;
    size_t at_ = 0;
    std::vector<StyleSheetValue> values_;
};

}  // namespace

std::vector<StyleSheetValue> styleSheetValues(std::string_view css) { return ValueScan(css).run(); }

std::string cssUnescaped(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (size_t at = 0; at < value.size();) {
        if (value[at] != '\\') {
            out += value[at++];
            continue;
        }
        if (++at == value.size()) break;
        if (isLineBreak(value[at])) {
            at += value.substr(at).starts_with("\r\n") ? 2 : 1;
            continue;
        }
        if (hexValue(value[at]) < 0) {
            out += value[at++];
            continue;
        }
        uint32_t code = 0;
        for (int digits = 0; digits < 6 && at < value.size() && hexValue(value[at]) >= 0; ++digits)
            code = code * 16 + static_cast<uint32_t>(hexValue(value[at++]));
        if (value.substr(at).starts_with("\r\n"))
            at += 2;
        else if (at < value.size() && isAsciiWhite(value[at]))
            ++at;
        const bool valid = code != 0 && (code < 0xD800 || code > 0xDFFF) && code <= 0x10FFFF;
        appendUtf8(out, valid ? code : 0xFFFD);
    }
    return out;
}

bool isStyleSheetType(std::string_view contentType) {
    const std::string_view type = trimmedWhite(contentType);
    return startsWithNoCase(type, "text/css") && (type.size() == 8 || type[8] == ';' || isAsciiWhite(type[8]));
}

std::string styleSheetCharset(std::string_view contentType, std::string_view css) {
    if (declaredCharsetName(contentType, {})) return contentTypeCharset(contentType);
    constexpr std::string_view kRule = "@charset \"";
    if (!css.starts_with(kRule)) return {};
    const size_t end = css.find('"', kRule.size());
    if (end == std::string_view::npos || end - kRule.size() > 40) return {};
    return charsetNamed(css.substr(kRule.size(), end - kRule.size()));
}

}  // namespace eng
