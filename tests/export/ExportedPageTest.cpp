#include "export/ExportedPage.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using eng::exportedPage;
using eng::LinkTarget;

namespace {

const std::string kPage = "http://s.test/dir/page.html";

// Exported files by address; every other address stays absolute.
eng::LinkTargetOf targets(const std::map<std::string, std::string> &local) {
    return [local](int, const std::string &address) {
        const auto found = local.find(address);
        return found == local.end() ? LinkTarget{address, false} : LinkTarget{found->second, true};
    };
}

}  // namespace

TEST(ExportedPageTest, LinksLeadToExportedFilesOrTheWeb) {
    const std::string page = R"(<base href="http://s.test/other/"><a href="x.html#top">x</a> <img src=pic.gif>)"
                             R"( <a href='../far.html'>f</a> <img src="missing.gif">)";
    const auto out = exportedPage(page, kPage, "text/html",
                                  targets({{"http://s.test/other/x.html", "../other/x.html"},
                                           {"http://s.test/other/pic.gif", "pics/a b#1%.gif"}}));
    EXPECT_EQ(out.bytes, std::string(34, ' ') + R"(<a href="../other/x.html#top">x</a> <img src=pics/a%20b%231%25.gif>)"
                                                R"( <a href='http://s.test/far.html'>f</a>)"
                                                R"( <img src="http://s.test/other/missing.gif">)");
    EXPECT_EQ(out.localLinks, 2u);
    EXPECT_EQ(out.absoluteLinks, 2u);
}

TEST(ExportedPageTest, InsertedTextCannotLeaveItsAttribute) {
    const auto out = exportedPage(
        R"(<a href="a.html">a</a><a href=b.html>b</a>)", kPage, "text/html",
        targets({{"http://s.test/dir/a.html", "x\"><script>'&.html"}, {"http://s.test/dir/b.html", "y z>.html"}}));
    EXPECT_EQ(out.bytes, R"(<a href="x%22%3E%3Cscript%3E%27&amp;.html">a</a><a href=y%20z%3E.html>b</a>)");
}

TEST(ExportedPageTest, APageServedInAnotherCharsetThanItDeclaresBecomesUtf8) {
    // KOI8-R bytes for "да" in a link and the text; the page claims windows-1251.
    const std::string page =
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"
        "<a href=\"\xC4\xC1.html\">\xC4\xC1</a>";
    std::string asked;
    const auto out = exportedPage(page, kPage, "text/html; charset=koi8-r", [&](int, const std::string &address) {
        asked = address;
        return LinkTarget{"da.html", true};
    });
    EXPECT_EQ(asked, "http://s.test/dir/\xD0\xB4\xD0\xB0.html");
    EXPECT_EQ(out.bytes,
              "\xEF\xBB\xBF<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"
              "<a href=\"da.html\">\xD0\xB4\xD0\xB0</a>");
    // Declared alike: the bytes stay as stored.
    EXPECT_EQ(exportedPage("<a href=x>\xC4</a>", kPage, "text/html", targets({})).bytes,
              "<a href=http://s.test/dir/x>\xC4</a>");
}

TEST(ExportedPageTest, AppletsFindTheirClassesInTheExportedFolder) {
    const auto out = exportedPage(
        R"(<applet code="A.class" width=5><applet code=B.class codebase="cls/">)", kPage, "text/html",
        targets({{"http://s.test/dir/A.class", "classes/A.class"}, {"http://s.test/dir/cls/B.class", "j/B.class"}}));
    EXPECT_EQ(out.bytes, R"(<applet code="A.class" codebase="classes/" width=5><applet code=B.class codebase="j/">)");
}

TEST(ExportedPageTest, StylesSrcsetsAndStyleSheetsLeadToExportedFilesWrittenForWhereTheyStand) {
    const auto local = targets({{"http://s.test/dir/a.png", "files/a (1).png"},
                                {"http://s.test/dir/b.png", "files/b&c.png"},
                                {"http://s.test/img/bg.png", "../img/bg.png"}});
    const auto page = exportedPage(
        "<style>i{background:url(a.png)}</style><p style=\"background:url(&quot;b.png&quot;)\">"
        "<img srcset=\"a.png 1x, b.png 2x, gone.png 3x\">",
        kPage, "text/html", local);
    EXPECT_EQ(page.bytes,
              "<style>i{background:url(files/a%20%281%29.png)}</style><p style=\"background:url(files/b&amp;c.png)\">"
              "<img srcset=\"files/a%20(1).png 1x, files/b&amp;c.png 2x, http://s.test/dir/gone.png 3x\">");
    EXPECT_EQ(page.localLinks, 4u);
    EXPECT_EQ(page.absoluteLinks, 1u);
    // A sheet's values are read against its own address; '&' stays, as CSS has no references.
    const auto sheet =
        eng::exportedStyleSheet("@import 'x.css';\nb{background:url(\"b.png#f\")} g{background:url(../img/bg.png)}",
                                "http://s.test/dir/s.css", "text/css", local);
    EXPECT_EQ(sheet.bytes,
              "@import 'http://s.test/dir/x.css';\nb{background:url(\"files/b&c.png#f\")} "
              "g{background:url(../img/bg.png)}");
}
