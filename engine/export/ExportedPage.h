#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// An HTML page or a style sheet made ready to be opened from disk: its links
// lead to the exported files or to the web, a page has no BASE left, and its
// bytes read as they did when the server's content type came with them.
namespace eng {

// What one link of an exported page becomes.
struct LinkTarget {
    std::string text;    // a relative path to an exported file ('/' between names), or an absolute address
    bool local = false;  // a relative path
};
// The target of a link by its kind and its absolute address; asked once per
// kind and address, since an address can be both embedded (exported with
// the page) and a hyperlink (left to the web) in one page.
using LinkTargetOf = std::function<LinkTarget(int kind, const std::string &address)>;

// A target's text as a link value in an attribute: a relative path's names
// percent-encoded where a link would misread them ('%', '#', '?'), any text
// escaped for an attribute, quoted or not.
std::string exportLinkText(const LinkTarget &target);

struct ExportedPage {
    std::string bytes;
    size_t localLinks = 0;     // links that now lead to exported files
    size_t absoluteLinks = 0;  // links left to (or made into) absolute addresses
};

// The page rewritten. A page whose content type names a charset that its
// own declaration does not select is recoded to UTF-8 and given a byte
// order mark, which a browser honours before any META. Links are read in
// the page's charset against its BASE (or its own address); the BASE tag is
// overwritten with blanks. Each link's value becomes its target's text (a
// relative path percent-encoded name by name), its fragment kept, escaped
// for where it stands (an attribute, a STYLE element, a style attribute). An applet's folder (its codebase, or one
// added for an applet that has none) leads to the folder of its target.
ExportedPage exportedPage(std::string_view page, const std::string &pageUrl, std::string_view contentType,
                          const LinkTargetOf &targetOf);

// A style sheet rewritten the same way: its url(...) and @import values,
// read in its charset against its own address, become their targets' texts,
// written to stand in CSS (parentheses percent-encoded too). Its bytes stay
// as they are.
ExportedPage exportedStyleSheet(std::string_view css, const std::string &sheetUrl, std::string_view contentType,
                                const LinkTargetOf &targetOf);

}  // namespace eng
