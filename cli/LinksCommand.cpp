#include "LinksCommand.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "Arguments.h"
#include "Failure.h"
#include "OpenedProject.h"
#include "ProjectReader.h"
#include "base/CanonicalUrl.h"
#include "base/HtmlScanner.h"
#include "base/PageCharset.h"

namespace lark {

namespace {

// What each kind of link is, as the scanner reports them.
const char *kindName(int kind) {
    static const char *const kNames[] = {"link",   "image",      "background", "table background", "frame",
                                         "iframe", "script",     "sound",      "input image",      "embed",
                                         "applet", "stylesheet", "refresh",    "cell background",  "header background"};
    return kind >= 0 && kind < static_cast<int>(std::size(kNames)) ? kNames[kind] : "other";
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
    OpenedProject::check(project);
    ProjectReader reader(project);
    bool stored = false;
    reader.rows(
        "SELECT Rel.Relation, Strings.String FROM Rel JOIN Strings ON Strings.StrId = Rel.UrlId "
        "WHERE Rel.ResId = (SELECT ResId FROM UrlRes WHERE Url = ?1 AND ResId <> 0 ORDER BY DoneTime DESC LIMIT 1) "
        "ORDER BY Rel.rowid",
        address.substr(0, 255), [&](sqlite3_stmt *row) {
            stored = true;
            print(sqlite3_column_int(row, 0), reinterpret_cast<const char *>(sqlite3_column_text(row, 1)));
        });
    if (stored) return;
    bool known = false;
    reader.rows("SELECT 1 FROM UrlRes WHERE ResId <> 0 AND Url = ?1", address.substr(0, 255),
                [&](sqlite3_stmt *) { known = true; });
    if (!known) throw Failure("the project holds no stored page at " + address);
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
