#include "DeliveredLinks.h"

#include <algorithm>
#include <vector>

#include "base/AsciiSearch.h"
#include "base/AsciiText.h"
#include "base/CharacterReferences.h"
#include "base/HtmlEscape.h"
#include "base/HtmlScanner.h"
#include "base/PageEdits.h"
#include "base/TagAttribute.h"

namespace kiv {

namespace {

// The kind the scanner gives an applet's code value: a class name relative
// to the applet's codebase, not an address.
constexpr int kAppletCode = 10;

// Where a value stands in a text.
struct Span {
    size_t offset = 0;
    size_t length = 0;
};

// How a value is read for the combiner, and how its replacement is written.
struct ValueForm {
    std::string (*read)(std::string_view raw);
    std::string (*write)(std::string_view replacement);
};

std::string asWritten(std::string_view raw) { return std::string(raw); }

// An attribute value read as the scanner reads it: control bytes dropped,
// white space trimmed, character references decoded.
std::string attributeValue(std::string_view raw) {
    std::string kept;
    for (const char c : raw)
        if ((c < 1 || c > 15) && c != 127) kept += c;
    return eng::decodeCharacterReferences(eng::trimmedWhite(kept));
}

bool isQuote(char c) { return c == '"' || c == '\''; }

// A url( value of a style attribute: browsers write the quotes of one as
// references ("url(&quot;a.png&quot;)"), which the style sheet scan takes
// for part of an unquoted value; read, they are quotes around it.
std::string styleAttributeValue(std::string_view raw) {
    const std::string value = attributeValue(raw);
    const bool quoted = value.size() >= 2 && isQuote(value.front()) && value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

// A replacement that stands in an attribute value quoted either way or
// unquoted: the HTML escaping, and references for apostrophes and white space.
std::string attributeText(std::string_view replacement) {
    std::string text;
    for (const char c : eng::escapeHtml(replacement)) {
        if (c == '\'' || eng::isAsciiWhite(c))
            text += "&#" + std::to_string(static_cast<int>(c)) + ";";
        else
            text += c;
    }
    return text;
}

// A replacement that stands in a url( quoted either way or unquoted, or in a
// CSS string: quotes, parentheses, backslashes and white space are written as
// escapes ("\22 "), and so is "<", which could end a STYLE element.
std::string cssText(std::string_view replacement) {
    constexpr std::string_view kEscaped = "\"'()\\<";
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string text;
    for (const char c : replacement) {
        if (kEscaped.find(c) == std::string_view::npos && !eng::isAsciiWhite(c)) {
            text += c;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        text += {'\\', kHex[byte >> 4], kHex[byte & 15], ' '};
    }
    return text;
}

std::string styleAttributeText(std::string_view replacement) { return attributeText(cssText(replacement)); }

constexpr ValueForm kAttributeForm{attributeValue, attributeText};
constexpr ValueForm kStyleSheetForm{asWritten, cssText};
constexpr ValueForm kStyleAttributeForm{styleAttributeValue, styleAttributeText};

size_t skipWhite(std::string_view text, size_t at) {
    while (at < text.size() && eng::isAsciiWhite(text[at])) ++at;
    return at;
}

bool isNameByte(char c) {
    return eng::isAsciiLetter(c) || eng::isAsciiDigit(c) || c == '-' || c == '_' ||
           static_cast<unsigned char>(c) >= 128;
}

// A CSS string from its opening quote: its contents, whether its quote is
// closed (an unescaped line feed ends it unclosed), and where the text goes
// on after it.
struct CssString {
    Span contents;
    bool closed = false;
    size_t end = 0;
};

CssString cssStringAt(std::string_view css, size_t quoteAt) {
    const char quote = css[quoteAt];
    size_t at = quoteAt + 1;
    while (at < css.size() && css[at] != quote && css[at] != '\n') at += css[at] == '\\' ? 2 : 1;
    at = std::min(at, css.size());
    const bool closed = at < css.size() && css[at] == quote;
    return {{quoteAt + 1, at - quoteAt - 1}, closed, closed ? at + 1 : at};
}

// The link values of a style sheet, in order: url( values and the strings of
// @import rules, but "data:" values.
class CssLinkScan {
public:
    explicit CssLinkScan(std::string_view css) : css_(css) {}

    std::vector<Span> run() {
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
            at_ = cssStringAt(css_, at_).end;
        } else if (eng::startsWithNoCase(rest, "url(") && (at_ == 0 || !isNameByte(css_[at_ - 1]))) {
            urlValue(skipWhite(css_, at_ + 4));
        } else if (eng::startsWithNoCase(rest, "@import")) {
            importValue(skipWhite(css_, at_ + 7));
        } else {
            ++at_;
        }
    }

    // The value of a url( whose contents start at 'at'.
    void urlValue(size_t at) {
        if (at < css_.size() && isQuote(css_[at])) return quotedValue(at);
        const size_t end = std::min(css_.find_first_of(") \t\n\r\f", at), css_.size());
        add({at, end - at});
        at_ = end;
    }

    // The string an @import names; a url( after it is read as any other.
    void importValue(size_t at) {
        if (at < css_.size() && isQuote(css_[at])) return quotedValue(at);
        at_ = at;
    }

    void quotedValue(size_t quoteAt) {
        const CssString string = cssStringAt(css_, quoteAt);
        if (string.closed) add(string.contents);
        at_ = string.end;
    }

    void add(Span value) {
        const std::string_view text = css_.substr(value.offset, value.length);
        if (!text.empty() && !eng::startsWithNoCase(text, "data:")) values_.push_back(value);
    }

    std::string_view css_;
    size_t at_ = 0;
    std::vector<Span> values_;
};

void addEdit(std::vector<eng::PageEdit> &edits, std::string_view text, Span value, const LinkCombiner &combine,
             const ValueForm &form) {
    if (const auto replacement = combine(form.read(text.substr(value.offset, value.length))))
        edits.push_back({value.offset, value.length, form.write(*replacement)});
}

void addCssEdits(std::vector<eng::PageEdit> &edits, std::string_view text, Span sheet, const LinkCombiner &combine,
                 const ValueForm &form) {
    for (const Span value : CssLinkScan(text.substr(sheet.offset, sheet.length)).run())
        addEdit(edits, text, {sheet.offset + value.offset, value.length}, combine, form);
}

// Whether a tag text opens the named element.
bool opens(std::string_view tagText, std::string_view name) {
    if (!eng::startsWithNoCase(tagText, name)) return false;
    return tagText.size() == name.size() || eng::isAsciiWhite(tagText[name.size()]) || tagText[name.size()] == '/';
}

// The edits of a page: its STYLE elements and style attributes, then the
// scanner's links but those inside a script.
class OfflineEdits {
public:
    OfflineEdits(std::string_view page, const LinkCombiner &combine) : page_(page), combine_(combine) {}

    std::vector<eng::PageEdit> run(std::string_view pageAddress) {
        eng::forEachTag(page_, [this](size_t at, std::string_view tagText) {
            tag(at, tagText);
            return true;
        });
        for (const eng::LinkSpot &spot : eng::extractLinks(pageAddress, page_).spots) link(spot);
        return std::move(edits_);
    }

private:
    void tag(size_t at, std::string_view tagText) {
        if (at < rawTextEnd_) return;
        if (const auto style = eng::findAttribute(tagText, "style"))
            addCssEdits(edits_, page_, {at + 1 + style->offset, style->rawLength}, combine_, kStyleAttributeForm);
        const size_t contentStart = at + tagText.size() + 2;
        if (opens(tagText, "script"))
            scripts_.push_back(rawText(contentStart, "</script"));
        else if (opens(tagText, "style"))
            addCssEdits(edits_, page_, rawText(contentStart, "</style"), combine_, kStyleSheetForm);
    }

    // The contents of a script or STYLE element, from their start to its end
    // tag (or the page's end); what looks like tags in them is skipped.
    Span rawText(size_t start, std::string_view endTag) {
        rawTextEnd_ = std::min(eng::findNoCase(page_, endTag, start), page_.size());
        return {start, rawTextEnd_ - start};
    }

    void link(const eng::LinkSpot &spot) {
        if (spot.kind == kAppletCode || inScript(spot.offset)) return;
        addEdit(edits_, page_, {spot.offset, spot.length}, combine_, kAttributeForm);
    }

    // The scanner takes its style sheet links and refresh from any tag, those
    // a script writes among them.
    bool inScript(size_t offset) const {
        return std::any_of(scripts_.begin(), scripts_.end(), [offset](const Span &script) {
            return offset >= script.offset && offset < script.offset + script.length;
        });
    }

    std::string_view page_;
    const LinkCombiner &combine_;
    size_t rawTextEnd_ = 0;
    std::vector<Span> scripts_;
    std::vector<eng::PageEdit> edits_;
};

}  // namespace

std::string withOfflineLinks(std::string_view page, std::string_view pageAddress, const LinkCombiner &combine) {
    return eng::applyPageEdits(page, OfflineEdits(page, combine).run(pageAddress));
}

std::string cssWithOfflineLinks(std::string_view css, const LinkCombiner &combine) {
    std::vector<eng::PageEdit> edits;
    addCssEdits(edits, css, {0, css.size()}, combine, kStyleSheetForm);
    return eng::applyPageEdits(css, std::move(edits));
}

}  // namespace kiv
