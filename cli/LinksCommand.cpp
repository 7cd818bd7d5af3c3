#include "LinksCommand.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "Arguments.h"
#include "Failure.h"
#include "content/HtmlScanner.h"

namespace lark {

namespace {

// What each kind of link is, as the scanner reports them.
const char *kindName(int kind) {
    static const char *const kNames[] = {"link",       "image",   "background", "table background", "frame",
                                         "iframe",     "script",  "sound",      "input image",      "embed",
                                         "applet",     "stylesheet", "refresh", "cell background",  "header background"};
    return kind >= 0 && kind < static_cast<int>(std::size(kNames)) ? kNames[kind] : "other";
}

std::string readPage(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Failure("cannot read \"" + path + "\"");
    std::ostringstream page;
    page << in.rdbuf();
    return page.str();
}

}  // namespace

int listLinks(const std::vector<std::string> &words) {
    Arguments args(words, {"base"}, {});
    args.expectCount(1, 1);
    return reportingFailures("links", [&] {
        const std::string path = args.at(0);
        const std::string page = readPage(path);
        // A local page's own address, unless the caller gives the one it was fetched from.
        const std::string address =
            args.value("base").value_or("file://" + std::filesystem::absolute(path).lexically_normal().string());
        const eng::PageLinks found = eng::extractLinks(eng::linkBase(address, page), page);
        for (const eng::PageLink &link : found.links)
            std::cout << link.kind << '\t' << kindName(link.kind) << '\t' << link.url << '\n';
        return 0;
    });
}

}  // namespace lark
