#include "net/FtpDirectoryPage.h"

#include "base/HtmlEscape.h"

namespace eng {

namespace {

// A name as a link relative to the directory: "./" in front so that a colon
// in it is not taken for a scheme, and the characters that would end or
// change the path escaped.
std::string relativeLink(std::string_view name) {
    std::string link = "./";
    for (const char c : name) {
        if (c == '%')
            link += "%25";
        else if (c == '#')
            link += "%23";
        else if (c == '?')
            link += "%3F";
        else
            link += c;
    }
    return escapeHtml(link);
}

// A name as some servers list it, with its directory in front: the last part.
std::string_view entryName(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '/')) line.remove_suffix(1);
    const auto slash = line.rfind('/');
    return slash == std::string_view::npos ? line : line.substr(slash + 1);
}

}  // namespace

std::string ftpDirectoryPage(std::string_view directoryUrl, std::string_view nameList) {
    const std::string base = escapeHtml(directoryUrl);
    std::string page = "<html><head><base href=\"" + base + "\"><title>Index of " + base +
                       "</title></head><body><h1>Index of " + base + "</h1><ul>\n";
    while (!nameList.empty()) {
        const auto end = nameList.find('\n');
        const std::string_view name = entryName(nameList.substr(0, end));
        if (!name.empty() && name != "." && name != "..") {
            page += "<li><a href=\"" + relativeLink(name) + "\">" + escapeHtml(name) + "</a></li>\n";
        }
        if (end == std::string_view::npos) break;
        nameList.remove_prefix(end + 1);
    }
    return page + "</ul></body></html>\n";
}

}  // namespace eng
