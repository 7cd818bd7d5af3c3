#include "base/HtmlScanner.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <unordered_set>

#include "base/AsciiSearch.h"
#include "base/AsciiText.h"
#include "base/CanonicalUrl.h"
#include "base/CharacterReferences.h"
#include "base/LinkText.h"
#include "base/PageCharset.h"
#include "base/SrcsetList.h"
#include "base/StyleSheetScanner.h"
#include "base/TagAttribute.h"
#include "base/Url.h"
#include "base/Utf8Recoding.h"
#include "engine.h"

namespace eng {

namespace {

struct TagRule {
    std::string_view name;
    std::string_view attribute;
};

// The tags searched, in order; a tag's index is the kind of its links.
constexpr std::array<TagRule, 15> kTags{{{"a", "href"},
                                         {"img", "src"},
                                         {"body", "background"},
                                         {"table", "background"},
                                         {"frame", "src"},
                                         {"iframe", "src"},
                                         {"script", "src"},
                                         {"bgsound", "src"},
                                         {"input", "src"},
                                         {"embed", "src"},
                                         {"applet", "code"},
                                         {"area", "href"},
                                         {"/script", ""},
                                         {"td", "background"},
                                         {"th", "background"}}};
// Tag indexes that are not link kinds of their own.
constexpr int kArea = 11, kEndScript = 12;
constexpr size_t kTitleWindow = 2048;

// A value whose character references are decoded, resolved against the base
// into a canonical address of a scheme the engine fetches; empty otherwise.
std::string resolveDecoded(std::string_view base, std::string_view text) {
    const auto combined = url::combine(base, text, url::NoEncode);
    return combined ? canonicalUrl(*combined) : std::string();
}

// An attribute value as written is HTML in the page's charset: it is read as
// browsers read it, so that "&#38;" is not taken for the start of a fragment
// and a link written in a single-byte charset is requested as UTF-8.
std::string resolve(std::string_view base, std::string_view value, std::string_view charset) {
    return resolveDecoded(base, linkText(value, charset));
}

// Whether a tag text opens the named tag: the name followed by nothing or by
// a byte of 32 or less or of 128 or more (compared as a signed value).
bool namesTag(std::string_view tagText, std::string_view name) {
    return startsWithNoCase(tagText, name) &&
           (tagText.size() == name.size() || static_cast<signed char>(tagText[name.size()]) <= 32);
}

// The index of the tag a tag text opens, or -1. "script" and "/script" need
// only be a prefix.
int tagIndex(std::string_view tagText) {
    for (size_t i = 0; i < kTags.size(); ++i) {
        const bool prefixOnly = static_cast<int>(i) == ENG_LINK_SCRIPT || static_cast<int>(i) == kEndScript;
        if (prefixOnly ? startsWithNoCase(tagText, kTags[i].name) : namesTag(tagText, kTags[i].name))
            return static_cast<int>(i);
    }
    return -1;
}

// Attributes outside the tag table whose value a browser fetches.
struct OtherRule {
    std::string_view tag;
    std::string_view attribute;
    int kind;
};
constexpr std::array<OtherRule, 5> kOtherRules{{{"video", "poster", ENG_LINK_IMAGE},
                                                {"video", "src", ENG_LINK_EMBED},
                                                {"audio", "src", ENG_LINK_SOUND},
                                                {"track", "src", ENG_LINK_EMBED},
                                                {"object", "data", ENG_LINK_EMBED}}};

// The kind of a preloaded file by the "as" of its link.
int preloadKind(std::string_view tagText) {
    const std::string as = asciiLowered(tagAttributeValue(tagText, "as").value_or(""));
    if (as == "style") return ENG_LINK_STYLESHEET;
    if (as == "script") return ENG_LINK_SCRIPT;
    if (as == "image") return ENG_LINK_IMAGE;
    return ENG_LINK_EMBED;
}

// The kind of a link tag's href by the first of its rel words that names a
// file the page uses; -1 for none. A style sheet's link is found apart.
int linkRelKind(std::string_view tagText) {
    const auto rel = tagAttributeValue(tagText, "rel");
    if (!rel || startsWithNoCase(*rel, "stylesheet")) return -1;
    std::istringstream words(asciiLowered(*rel));
    for (std::string word; words >> word;) {
        if (word == "icon" || word == "apple-touch-icon" || word == "apple-touch-icon-precomposed" ||
            word == "mask-icon")
            return ENG_LINK_IMAGE;
        if (word == "modulepreload") return ENG_LINK_SCRIPT;
        if (word == "manifest") return ENG_LINK_EMBED;
        if (word == "preload") return preloadKind(tagText);
    }
    return -1;
}

class Scan {
public:
    Scan(std::string_view base, std::string_view page, std::string_view charset)
        : base_(base), page_(page), charset_(charset) {}

    PageLinks run() {
        styleSheets();
        refresh();
        tags();
        std::stable_sort(out_.spots.begin(), out_.spots.end(),
                         [](const LinkSpot &a, const LinkSpot &b) { return a.offset < b.offset; });
        return std::move(out_);
    }

    PageLinks runStyleSheet() {
        styleSheet(0, page_, LinkSyntax::StyleSheet);
        return std::move(out_);
    }

    // The refresh target and its spot: the "url=" of the first refresh META's content.
    std::optional<std::pair<std::string, LinkSpot>> refreshLink() {
        std::optional<std::pair<std::string, LinkSpot>> found;
        forEachTag(page_, [&](size_t at, std::string_view tagText) {
            if (!startsWithNoCase(tagText, "meta")) return true;
            const auto equiv = tagAttributeValue(tagText, "http-equiv");
            if (!equiv || !startsWithNoCase(*equiv, "refresh")) return true;
            const auto content = findAttribute(tagText, "content");
            if (!content) return false;
            const size_t semicolon = content->text.find(';');
            if (semicolon == std::string::npos) return false;
            const auto target = findAttribute(std::string_view(content->text).substr(semicolon + 1), "url", true);
            if (!target) return false;
            std::string address = resolve(base_, target->text, charset_);
            if (address.empty()) return false;
            const std::string_view raw = tagText.substr(content->offset, content->rawLength);
            const size_t in = raw.find(target->text, raw.find(';'));  // the delay may read alike
            const size_t offset = at + 1 + content->offset + (in == std::string_view::npos ? 0 : in);
            LinkSpot spot{ENG_LINK_REFRESH, offset, target->text.size(), address, {}};
            found.emplace(std::move(address), std::move(spot));
            return false;
        });
        return found;
    }

private:
    // Each kind and address is kept once; a set of what was kept makes a
    // page with very many links cost one lookup per link.
    void add(int kind, std::string url, LinkSpot spot) {
        if (spot.url.empty()) spot.url = url;
        out_.spots.push_back(std::move(spot));
        if (known_.insert(std::to_string(kind) + ' ' + url).second) out_.links.push_back({kind, std::move(url)});
    }

    void styleSheets() {
        forEachTag(page_, [&](size_t at, std::string_view tagText) {
            if (!startsWithNoCase(tagText, "link")) return true;
            const auto rel = tagAttributeValue(tagText, "rel");
            if (!rel || !startsWithNoCase(*rel, "stylesheet")) return true;
            if (const auto href = findAttribute(tagText, "href")) {
                std::string address = resolve(base_, href->text, charset_);
                if (!address.empty())
                    add(ENG_LINK_STYLESHEET, std::move(address),
                        {ENG_LINK_STYLESHEET, at + 1 + href->offset, href->rawLength, {}, {}});
            }
            return true;
        });
    }

    void refresh() {
        if (auto found = refreshLink()) add(ENG_LINK_REFRESH, std::move(found->first), found->second);
    }

    // The tag table's links of every "<"; the other references only of tags
    // that do not start inside the text of the tag before, as browsers read
    // them, which keeps their attribute searches to one per byte.
    void tags() {
        bool inScript = false;
        size_t styleEnd = 0;
        size_t tagEnd = 0;
        forEachTag(page_, [&](size_t at, std::string_view tagText) {
            if (at < styleEnd) return true;
            const int index = tagIndex(tagText);
            if (index == kEndScript) {
                inScript = false;
                return true;
            }
            if (inScript && index != ENG_LINK_SCRIPT) return true;
            if (index == ENG_LINK_SCRIPT) inScript = true;
            if (index >= 0) tag(at, tagText, index == kArea ? ENG_LINK_HYPERLINK : index);
            if (at < tagEnd) return true;
            tagEnd = at + tagText.size() + 2;
            otherReferences(at, tagText);
            if (namesTag(tagText, "style")) styleEnd = styleElement(tagEnd);
            return true;
        });
    }

    void tag(size_t at, std::string_view tagText, int kind) {
        const auto value = findAttribute(tagText, kTags[static_cast<size_t>(kind)].attribute);
        if (!value) return;
        std::string text = linkText(value->text, charset_);
        LinkSpot spot{kind, at + 1 + value->offset, value->rawLength, {}, {}};
        if (kind == ENG_LINK_APPLET)
            if (const auto codebase = findAttribute(tagText, "codebase")) {
                const std::string folder = linkText(codebase->text, charset_);
                text = folder + (folder.ends_with('/') ? "" : "/") + text;
                spot = {kCodebaseSpot, at + 1 + codebase->offset, codebase->rawLength, {}, {}};
            }
        addValue(kind, std::move(spot), std::move(text));
    }

    // The references of a tag beyond the tag table: its style attribute,
    // srcset, media sources, icons and preloads, and the like.
    void otherReferences(size_t at, std::string_view tagText) {
        if (const auto style = findAttribute(tagText, "style"))
            styleSheet(at + 1 + style->offset, tagText.substr(style->offset, style->rawLength),
                       LinkSyntax::StyleAttribute);
        for (const OtherRule &rule : kOtherRules)
            if (namesTag(tagText, rule.tag)) attribute(at, tagText, rule.attribute, rule.kind);
        mediaContext(tagText);
        if (namesTag(tagText, "source")) attribute(at, tagText, "src", sourceKind_);
        if (namesTag(tagText, "img") || namesTag(tagText, "source")) srcset(at, tagText);
        if (namesTag(tagText, "link"))
            if (const int kind = linkRelKind(tagText); kind >= 0) attribute(at, tagText, "href", kind);
    }

    // A source's file is of the kind of the element it stands in.
    void mediaContext(std::string_view tagText) {
        if (namesTag(tagText, "picture"))
            sourceKind_ = ENG_LINK_IMAGE;
        else if (namesTag(tagText, "audio"))
            sourceKind_ = ENG_LINK_SOUND;
        else if (namesTag(tagText, "video") || namesTag(tagText, "/picture") || namesTag(tagText, "/audio"))
            sourceKind_ = ENG_LINK_EMBED;
    }

    void attribute(size_t at, std::string_view tagText, std::string_view name, int kind) {
        if (const auto value = findAttribute(tagText, name))
            addValue(kind, {kind, at + 1 + value->offset, value->rawLength, {}, {}}, linkText(value->text, charset_));
    }

    void srcset(size_t at, std::string_view tagText) {
        const auto value = findAttribute(tagText, "srcset");
        if (!value) return;
        const std::string_view raw = tagText.substr(value->offset, value->rawLength);
        for (const SrcsetUrl &url : srcsetUrls(raw))
            addValue(ENG_LINK_IMAGE, {ENG_LINK_IMAGE, at + 1 + value->offset + url.offset, url.length, {}, {}},
                     linkText(raw.substr(url.offset, url.length), charset_));
    }

    // A STYLE element's contents, from their start to its end tag (or the
    // page's end); returns where they end.
    size_t styleElement(size_t start) {
        const size_t end = std::min(findNoCase(page_, "</style", start), page_.size());
        styleSheet(start, page_.substr(start, end - start), LinkSyntax::StyleSheet);
        return end;
    }

    // The url(...) and @import values of CSS that starts at `offset` of the page.
    void styleSheet(size_t offset, std::string_view css, LinkSyntax syntax) {
        for (const StyleSheetValue &value : styleSheetValues(css)) {
            const int kind = value.import ? ENG_LINK_STYLESHEET : ENG_LINK_BACKGROUND;
            LinkSpot spot{kind, offset + value.offset, value.length, {}, {}, syntax};
            addValue(
                kind, std::move(spot),
                cssLinkText(css.substr(value.offset, value.length), charset_, syntax == LinkSyntax::StyleAttribute));
        }
    }

    // A link's text (read, not yet resolved) at its spot. A fragment after
    // the last path separator is not part of the address; cutting it cannot
    // change the scheme, so one resolution decides both whether the link is
    // kept and its address.
    void addValue(int kind, LinkSpot spot, std::string text) {
        const size_t lastSeparator = text.find_last_of("/\\\\");
        const size_t fragment = text.find('#', lastSeparator == std::string::npos ? 0 : lastSeparator);
        if (fragment != std::string::npos) {
            spot.fragment = text.substr(fragment);
            text.resize(fragment);
        }
        std::string address = resolveDecoded(base_, text);
        if (address.empty()) return;
        if (spot.kind == kCodebaseSpot) spot.url = address.substr(0, address.rfind('/') + 1);
        add(kind, std::move(address), std::move(spot));
    }

    std::string_view base_;
    std::string_view page_;
    std::string_view charset_;
    int sourceKind_ = ENG_LINK_EMBED;
    PageLinks out_;
    std::unordered_set<std::string> known_;
};

std::string withoutControlBytes(std::string_view text) {
    std::string out;
    for (char c : text)
        if ((c < 1 || c > 15) && c != 127) out += c;
    return out;
}

}  // namespace

PageLinks extractLinks(std::string_view base, std::string_view page, std::string_view charset) {
    return Scan(base, page, charset).run();
}

PageLinks extractStyleSheetLinks(std::string_view base, std::string_view css, std::string_view charset) {
    return Scan(base, css, charset).runStyleSheet();
}

PageLinks extractBodyLinks(std::string_view url, std::string_view body, std::string_view contentType) {
    if (isStyleSheetType(contentType)) return extractStyleSheetLinks(url, body, styleSheetCharset(contentType, body));
    return extractLinks(linkBase(url, body), body, pageCharset(contentType, body));
}

std::string refreshTarget(std::string_view base, std::string_view page) {
    auto found = Scan(base, page, {}).refreshLink();
    return found ? found->first : std::string();
}

std::optional<unsigned long> refreshDelay(std::string_view page) {
    const auto content = findTagAttribute(page, "meta", "http-equiv", "refresh", "content");
    if (!content) return std::nullopt;
    unsigned long seconds = 0;
    for (const char c : *content) {
        if (c < '0' || c > '9') break;
        seconds = std::min(seconds * 10 + static_cast<unsigned long>(c - '0'), 1UL << 31);
    }
    return seconds;
}

std::optional<BaseTag> findBase(std::string_view page) {
    std::optional<BaseTag> base;
    forEachTag(page, [&](size_t at, std::string_view tagText) {
        if (tagText.size() < 4 || !startsWithNoCase(tagText, "base")) return true;
        if (auto href = tagAttributeValue(tagText, "href")) base = BaseTag{at, tagText.size() + 2, std::move(*href)};
        return false;
    });
    return base;
}

std::string linkBase(std::string_view pageUrl, std::string_view page) {
    if (auto base = findBase(page)) {
        std::string declared = resolve(pageUrl, base->href, {});
        if (!declared.empty()) return declared;
    }
    return std::string(pageUrl);
}

std::string pageTitle(std::string_view page, std::string_view contentType) {
    const size_t start = findNoCase(page.substr(0, std::min(page.size(), kTitleWindow)), "<title");
    if (start == std::string_view::npos) return {};
    const size_t close = page.find('>', start);
    if (close == std::string_view::npos) return {};
    const size_t end = std::min(page.find('<', close + 1), page.size());
    const std::string raw = withoutControlBytes(page.substr(close + 1, end - close - 1));
    const std::string decoded = decodeCharacterReferences(trimmedWhite(raw));
    return toUtf8(trimmedWhite(decoded), pageCharset(contentType, page));
}

}  // namespace eng
