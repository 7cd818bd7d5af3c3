#include "LinksCommand.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "Arguments.h"
#include "Failure.h"
#include "OpenedProject.h"
#include "RecordBuffer.h"
#include "base/CanonicalUrl.h"
#include "base/HtmlScanner.h"
#include "base/PageCharset.h"

namespace lark {

namespace {

// What each kind of link is, as the scanner reports them.
struct KindName {
    int kind;
    const char *name;
};
constexpr KindName kKindNames[] = {
    {ENG_LINK_HYPERLINK, "link"},
    {ENG_LINK_IMAGE, "image"},
    {ENG_LINK_BACKGROUND, "background"},
    {ENG_LINK_TABLE_BACKGROUND, "table background"},
    {ENG_LINK_FRAME, "frame"},
    {ENG_LINK_IFRAME, "iframe"},
    {ENG_LINK_SCRIPT, "script"},
    {ENG_LINK_SOUND, "sound"},
    {ENG_LINK_INPUT_IMAGE, "input image"},
    {ENG_LINK_EMBED, "embed"},
    {ENG_LINK_APPLET, "applet"},
    {ENG_LINK_STYLESHEET, "stylesheet"},
    {ENG_LINK_REFRESH, "refresh"},
    {ENG_LINK_CELL_BACKGROUND, "cell background"},
    {ENG_LINK_HEADER_BACKGROUND, "header background"},
};
static_assert(std::size(kKindNames) == ENG_LINK_LAST + 1, "every kind of link has its name");

const char *kindName(int kind) {
    for (const KindName &k : kKindNames)
        if (k.kind == kind) return k.name;
    return "other";
}

std::string readPage(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Failure("cannot read \"" + path + "\"");
    std::ostringstream page;
    page << in.rdbuf();
    return page.str();
}

void print(int kind, const std::string &url) { std::cout << kind << '\t' << kindName(kind) << '\t' << url << '\n'; }

// The links recorded for the latest stored fetch of an address.
void storedLinks(const std::string &project, const std::string &url) {
    const std::string address = eng::canonicalUrl(url);
    if (address.empty()) throw Failure("\"" + url + "\" is not an http, https, ftp or file address");
    OpenedProject opened(project);
    auto [stored, buffer] = eng::client::receiveWithResult(Eng_FreeMem, Eng_GetStoredLinks, address.c_str(), "");
    const eng::client::RecordBuffer<EngLinkRecord> links(std::move(buffer));
    if (stored != 1) throw Failure("the project holds no stored page at " + address);
    for (const EngLinkRecord &link : links) print(static_cast<int>(link.kind), eng::client::text(link.url));
}

}  // namespace

int listLinks(const std::vector<std::string> &words) {
    Arguments args(words, {"base"}, {});
    args.expectCount(1, 2);
    return reportingFailures("links", [&] {
        if (args.count() == 2) {
            storedLinks(args.at(0), args.at(1));
            return 0;
        }
        const std::string path = args.at(0);
        const std::string page = readPage(path);
        // A local page's own address, unless the caller gives the one it was fetched from.
        const std::string address =
            args.value("base").value_or("file://" + std::filesystem::absolute(path).lexically_normal().string());
        const eng::PageLinks found = eng::extractLinks(eng::linkBase(address, page), page, eng::pageCharset("", page));
        for (const eng::PageLink &link : found.links) print(link.kind, link.url);
        return 0;
    });
}

}  // namespace lark
