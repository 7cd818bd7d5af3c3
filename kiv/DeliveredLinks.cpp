#include "DeliveredLinks.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "base/AsciiSearch.h"
#include "base/AsciiText.h"
#include "base/CharacterReferences.h"
#include "base/HtmlEscape.h"
#include "base/HtmlScanner.h"
#include "base/PageEdits.h"
#include "base/StyleSheetScanner.h"
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
    return eng::cssUnescaped(quoted ? std::string_view(value).substr(1, value.size() - 2) : std::string_view(value));
}

std::string styleSheetValue(std::string_view raw) { return eng::cssUnescaped(raw); }

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
constexpr ValueForm kStyleSheetForm{styleSheetValue, cssText};
constexpr ValueForm kStyleAttributeForm{styleAttributeValue, styleAttributeText};

const ValueForm &formOf(eng::LinkSyntax syntax) {
    switch (syntax) {
        case eng::LinkSyntax::StyleSheet:
            return kStyleSheetForm;
        case eng::LinkSyntax::StyleAttribute:
            return kStyleAttributeForm;
        case eng::LinkSyntax::Attribute:
            break;
    }
    return kAttributeForm;
}

void addEdit(std::vector<eng::PageEdit> &edits, std::string_view text, Span value, const LinkCombiner &combine,
             const ValueForm &form) {
    if (const auto replacement = combine(form.read(text.substr(value.offset, value.length))))
        edits.push_back({value.offset, value.length, form.write(*replacement)});
}

// Whether a tag text opens the named element.
bool opens(std::string_view tagText, std::string_view name) {
    if (!eng::startsWithNoCase(tagText, name)) return false;
    return tagText.size() == name.size() || eng::isAsciiWhite(tagText[name.size()]) || tagText[name.size()] == '/';
}

// The edits of a page: the scanner's links (those of its STYLE elements and
// style attributes among them) but those inside a script.
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
        const size_t contentStart = at + tagText.size() + 2;
        if (opens(tagText, "script"))
            scripts_.push_back(rawText(contentStart, "</script"));
        else if (opens(tagText, "style"))
            rawText(contentStart, "</style");
    }

    // The contents of a script or STYLE element, from their start to its end
    // tag (or the page's end); what looks like tags in them is skipped.
    Span rawText(size_t start, std::string_view endTag) {
        rawTextEnd_ = std::min(eng::findNoCase(page_, endTag, start), page_.size());
        return {start, rawTextEnd_ - start};
    }

    void link(const eng::LinkSpot &spot) {
        const bool appletCode = spot.kind == kAppletCode && spot.syntax == eng::LinkSyntax::Attribute;
        if (appletCode || inScript(spot.offset)) return;
        addEdit(edits_, page_, {spot.offset, spot.length}, combine_, formOf(spot.syntax));
    }

    // The scanner takes its style sheet links and refresh from any tag, those
    // a script writes among them.
    bool inScript(size_t offset) const {
        const auto after = std::upper_bound(scripts_.begin(), scripts_.end(), offset,
                                            [](size_t at, const Span &script) { return at < script.offset; });
        return after != scripts_.begin() && offset < std::prev(after)->offset + std::prev(after)->length;
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
    for (const eng::StyleSheetValue &value : eng::styleSheetValues(css))
        addEdit(edits, css, {value.offset, value.length}, combine, kStyleSheetForm);
    return eng::applyPageEdits(css, std::move(edits));
}

}  // namespace kiv
