#include "export/ExportedPage.h"

#include <unordered_map>
#include <vector>

#include "base/HtmlScanner.h"
#include "base/PageCharset.h"
#include "base/PageEdits.h"
#include "base/StyleSheetScanner.h"
#include "base/Utf8Recoding.h"
#include "engine.h"

namespace eng {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// A link text made safe where it stands: blanks, quotes, angle brackets,
// control bytes, non-ASCII bytes and the extra characters given are
// percent-encoded; in CSS parentheses too, which could end a url(; in an
// attribute (a style attribute's CSS among them) '&' becomes a character
// reference.
std::string linkValue(std::string_view text, std::string_view alsoEncoded, LinkSyntax syntax) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const bool inCss = syntax != LinkSyntax::Attribute;
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '&' && syntax != LinkSyntax::StyleSheet) {
            out += "&amp;";
        } else if (byte <= 0x20 || byte >= 0x7F || std::string_view("\"'<>`\\").find(c) != std::string_view::npos ||
                   alsoEncoded.find(c) != std::string_view::npos || (inCss && (c == '(' || c == ')'))) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::string targetValue(const LinkTarget &target, LinkSyntax syntax) {
    return linkValue(target.text, target.local ? "%#?" : "", syntax);
}

std::string folderOf(const std::string &text) {
    const size_t slash = text.rfind('/');
    return slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
}

struct Reconciled {
    std::string bytes;
    std::string charset;  // as iconv names it; empty for UTF-8
};

// The page as a browser must read it from disk, where no content type
// comes with it: when the server's charset is not the one the page itself
// declares, the page becomes UTF-8 with a byte order mark.
Reconciled reconciled(std::string_view page, std::string_view contentType) {
    const std::string served = pageCharset(contentType, page);
    if (page.starts_with(kUtf8Mark) || served == pageCharset({}, page)) return {std::string(page), served};
    return {std::string(kUtf8Mark) + toUtf8(page, served), {}};
}

class PageRewriter {
public:
    PageRewriter(const std::string &pageUrl, const LinkTargetOf &targetOf) : pageUrl_(pageUrl), targetOf_(targetOf) {}

    ExportedPage page(std::string_view contentType, std::string_view stored) {
        const Reconciled page = reconciled(stored, contentType);
        const std::string_view scanned = std::string_view(page.bytes).substr(0, kPageScanLimit);
        std::vector<PageEdit> edits;
        if (const auto base = findBase(scanned))
            edits.push_back({base->offset, base->length, std::string(base->length, ' ')});
        rewrite(extractLinks(linkBase(pageUrl_, scanned), scanned, page.charset), scanned, edits);
        return done(page.bytes, std::move(edits));
    }

    ExportedPage styleSheet(std::string_view contentType, std::string_view css) {
        const std::string_view scanned = css.substr(0, kPageScanLimit);
        std::vector<PageEdit> edits;
        rewrite(extractStyleSheetLinks(pageUrl_, scanned, styleSheetCharset(contentType, scanned)), scanned, edits);
        return done(css, std::move(edits));
    }

private:
    static std::string key(int kind, const std::string &url) { return std::to_string(kind) + ' ' + url; }

    void rewrite(const PageLinks &found, std::string_view scanned, std::vector<PageEdit> &edits) {
        for (const PageLink &link : found.links) target(link);
        for (const LinkSpot &spot : found.spots) edit(spot, scanned, edits);
    }

    ExportedPage done(std::string_view bytes, std::vector<PageEdit> edits) const {
        ExportedPage out;
        out.bytes = applyPageEdits(bytes, std::move(edits));
        out.localLinks = local_;
        out.absoluteLinks = absolute_;
        return out;
    }

    // Each kind and address is looked up once; an applet also maps its
    // codebase folder to the folder of its target.
    void target(const PageLink &link) {
        auto [at, added] = targets_.try_emplace(key(link.kind, link.url));
        if (added) at->second = targetOf_(link.kind, link.url);
        if (link.kind == ENG_LINK_APPLET)
            targets_[key(kCodebaseSpot, folderOf(link.url))] = LinkTarget{folderOf(at->second.text), at->second.local};
    }

    void edit(const LinkSpot &spot, std::string_view page, std::vector<PageEdit> &edits) {
        const auto known = targets_.find(key(spot.kind, spot.url));
        const LinkTarget target = known != targets_.end() ? known->second : LinkTarget{spot.url, false};
        ++(target.local ? local_ : absolute_);
        if (spot.kind != ENG_LINK_APPLET || spot.syntax != LinkSyntax::Attribute) {
            edits.push_back({spot.offset, spot.length,
                             targetValue(target, spot.syntax) + linkValue(spot.fragment, "", spot.syntax)});
            return;
        }
        // An applet without a codebase: its code names the file, and a
        // codebase added after the value names the folder.
        const std::string folder = folderOf(target.text);
        edits.push_back({spot.offset, spot.length, exportLinkText({target.text.substr(folder.size()), target.local})});
        if (folder.empty()) return;
        size_t after = spot.offset + spot.length;
        if (after < page.size() && (page[after] == '"' || page[after] == '\'')) ++after;
        edits.push_back({after, 0, " codebase=\"" + exportLinkText({folder, target.local}) + "\""});
    }

    const std::string &pageUrl_;
    const LinkTargetOf &targetOf_;
    std::unordered_map<std::string, LinkTarget> targets_;
    size_t local_ = 0;
    size_t absolute_ = 0;
};

}  // namespace

std::string exportLinkText(const LinkTarget &target) { return targetValue(target, LinkSyntax::Attribute); }

ExportedPage exportedPage(std::string_view page, const std::string &pageUrl, std::string_view contentType,
                          const LinkTargetOf &targetOf) {
    return PageRewriter(pageUrl, targetOf).page(contentType, page);
}

ExportedPage exportedStyleSheet(std::string_view css, const std::string &sheetUrl, std::string_view contentType,
                                const LinkTargetOf &targetOf) {
    return PageRewriter(sheetUrl, targetOf).styleSheet(contentType, css);
}

}  // namespace eng
