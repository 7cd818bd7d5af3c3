#include "DeliveredLinks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr std::string_view kPageAddress = "http://h/dir/page.html";

std::optional<std::string> prefixed(std::string_view value) { return "kiv:" + std::string(value); }

std::string delivered(std::string_view page) { return kiv::withOfflineLinks(page, kPageAddress, prefixed); }

std::string sheet(std::string_view css) { return kiv::cssWithOfflineLinks(css, prefixed); }

TEST(DeliveredLinks, EveryFormOfAddressBecomesOffline) {
    EXPECT_EQ(delivered("<a href=\"next.html\">n</a><a href=\"../up.html\">u</a><a href=\"?q=1\">q</a>"),
              "<a href=\"kiv:next.html\">n</a><a href=\"kiv:../up.html\">u</a><a href=\"kiv:?q=1\">q</a>");
    EXPECT_EQ(delivered("<a href=\"#top\">t</a><a href=\"/x.html\">r</a><a href=\"//h/p\">s</a>"),
              "<a href=\"kiv:#top\">t</a><a href=\"kiv:/x.html\">r</a><a href=\"kiv://h/p\">s</a>");
    EXPECT_EQ(delivered("<A HREF='http://o/a.html#part'>a</A>"), "<A HREF='kiv:http://o/a.html#part'>a</A>");
}

TEST(DeliveredLinks, EveryLinkTagOfTheScannerIsReplaced) {
    EXPECT_EQ(delivered("<img src=\"i.png\" alt=\"\"><frame src=\"f.html\"><iframe src='if.html'>"),
              "<img src=\"kiv:i.png\" alt=\"\"><frame src=\"kiv:f.html\"><iframe src='kiv:if.html'>");
    EXPECT_EQ(delivered("<body background=\"b.gif\"><table background=t.gif><td background=\"d.gif\">"),
              "<body background=\"kiv:b.gif\"><table background=kiv:t.gif><td background=\"kiv:d.gif\">");
    EXPECT_EQ(delivered("<map><area shape=rect href=\"m.html\"></map><embed src=\"e.swf\">"),
              "<map><area shape=rect href=\"kiv:m.html\"></map><embed src=\"kiv:e.swf\">");
    EXPECT_EQ(delivered("<link rel=\"stylesheet\" href=\"s.css\"><link rel=\"icon\" href=\"fav.ico\">"),
              "<link rel=\"stylesheet\" href=\"kiv:s.css\"><link rel=\"icon\" href=\"kiv:fav.ico\">");
    EXPECT_EQ(delivered("<meta http-equiv=\"refresh\" content=\"5; url=later.html\">"),
              "<meta http-equiv=\"refresh\" content=\"5; url=kiv:later.html\">");
}

TEST(DeliveredLinks, AnAppletKeepsItsClassNameButItsCodebaseIsReplaced) {
    EXPECT_EQ(delivered("<applet code=\"Game.class\">"), "<applet code=\"Game.class\">");
    EXPECT_EQ(delivered("<applet code=\"Game.class\" codebase=\"classes/\">"),
              "<applet code=\"Game.class\" codebase=\"kiv:classes/\">");
}

TEST(DeliveredLinks, TheCombinerMayLeaveALinkAsWritten) {
    const auto refusing = [](std::string_view value) -> std::optional<std::string> {
        if (value.starts_with("keep")) return std::nullopt;
        return "kiv:" + std::string(value);
    };
    EXPECT_EQ(kiv::withOfflineLinks("<a href=\"keep.html\"></a><a href=\"go.html\"></a>", kPageAddress, refusing),
              "<a href=\"keep.html\"></a><a href=\"kiv:go.html\"></a>");
    const std::string scripted = "<a href=\"javascript:go('a.html')\">x</a><a href=\"mailto:me@h\">m</a>";
    const auto same = [](std::string_view value) -> std::optional<std::string> { return std::string(value); };
    EXPECT_EQ(kiv::withOfflineLinks(scripted, kPageAddress, same), scripted);
    EXPECT_EQ(kiv::withOfflineLinks(scripted, kPageAddress, refusing), scripted);
}

TEST(DeliveredLinks, ValuesAreReadAsTheBrowserReadsThemAndWrittenBackEscaped) {
    std::vector<std::string> seen;
    const auto recording = [&seen](std::string_view value) -> std::optional<std::string> {
        seen.emplace_back(value);
        return "kiv:" + std::string(value);
    };
    const std::string out = kiv::withOfflineLinks(
        "<a href=\"a?b=1&amp;c=2\">x</a><a href=plain.html>y</a><a href=\"  spaced.html\n\">z</a>", kPageAddress,
        recording);
    EXPECT_EQ(seen, (std::vector<std::string>{"a?b=1&c=2", "plain.html", "spaced.html"}));
    EXPECT_EQ(out, "<a href=\"kiv:a?b=1&amp;c=2\">x</a><a href=kiv:plain.html>y</a><a href=\"kiv:spaced.html\">z</a>");
}

TEST(DeliveredLinks, AReplacementCannotEndItsAttributeInAnyQuoting) {
    const auto awkward = [](std::string_view) -> std::optional<std::string> { return "kiv:a b'c\"d<e>"; };
    EXPECT_EQ(kiv::withOfflineLinks("<a href=x.html>", kPageAddress, awkward),
              "<a href=kiv:a&#32;b&#39;c&quot;d&lt;e&gt;>");
    EXPECT_EQ(kiv::withOfflineLinks("<a href='x.html'>", kPageAddress, awkward),
              "<a href='kiv:a&#32;b&#39;c&quot;d&lt;e&gt;'>");
}

TEST(DeliveredLinks, ScriptsCommentsAndTheOtherBytesStayAsWritten) {
    const std::string script =
        "<script>var s = \"href='x.html'\"; document.write('<link rel=stylesheet href=w.css>');"
        " document.write('<div style=\"background:url(q.png)\">');</script>";
    EXPECT_EQ(delivered(script + "<a href=\"after.html\">"), script + "<a href=\"kiv:after.html\">");
    EXPECT_EQ(delivered("<script src=\"lib.js\"></script>"), "<script src=\"kiv:lib.js\"></script>");
    EXPECT_EQ(delivered("<!-- <a href=\"old.html\"> --><p class=x>\n\t<a  title=\"t\" href = \"n.html\" >"),
              "<!-- <a href=\"old.html\"> --><p class=x>\n\t<a  title=\"t\" href = \"kiv:n.html\" >");
}

TEST(DeliveredLinks, StyleElementsAndStyleAttributesHaveTheirReferencesReplaced) {
    EXPECT_EQ(delivered("<style type=\"text/css\">@import \"base.css\";\nbody { background: url(bg.png) }</style>"),
              "<style type=\"text/css\">@import \"kiv:base.css\";\nbody { background: url(kiv:bg.png) }</style>");
    EXPECT_EQ(delivered("<STYLE><!-- p { background: url('p.png') } --></STYLE><p>url(text.png)</p>"),
              "<STYLE><!-- p { background: url('kiv:p.png') } --></STYLE><p>url(text.png)</p>");
    EXPECT_EQ(delivered("<div style=\"background-image: url('d.png')\">"),
              "<div style=\"background-image: url('kiv:d.png')\">");
    EXPECT_EQ(delivered("<td style='background:url(c.png?a=1&amp;b=2)' background=\"t.png\">"),
              "<td style='background:url(kiv:c.png?a=1&amp;b=2)' background=\"kiv:t.png\">");
    EXPECT_EQ(delivered("<div style=\"background-image: url(&quot;q.png&quot;)\">"),
              "<div style=\"background-image: url(kiv:q.png)\">");
    // The scanner takes the "href=" inside the style value for the link: the style's replacement wins.
    EXPECT_EQ(delivered("<a style=\"background:url(href=y.png)\">"), "<a style=\"background:url(kiv:href=y.png)\">");
}

TEST(DeliveredLinks, EveryAddressOfASrcsetAndOfMediaIconsAndObjectsIsReplaced) {
    EXPECT_EQ(delivered("<img src=\"a.png\" srcset=\"a-2x.png 2x, /b.png 640w,c.png\">"),
              "<img src=\"kiv:a.png\" srcset=\"kiv:a-2x.png 2x, kiv:/b.png 640w,kiv:c.png\">");
    EXPECT_EQ(delivered("<picture><source srcset='p.webp 1x, p2.webp 2x'></picture><video poster=v.jpg src=v.mp4>"
                        "<source src=\"v.webm\"><track src=\"t.vtt\"></video><audio src=\"a.ogg\">"),
              "<picture><source srcset='kiv:p.webp 1x, kiv:p2.webp 2x'></picture><video poster=kiv:v.jpg "
              "src=kiv:v.mp4><source src=\"kiv:v.webm\"><track src=\"kiv:t.vtt\"></video><audio src=\"kiv:a.ogg\">");
    EXPECT_EQ(delivered("<link rel=\"shortcut icon\" href=\"/f.ico\"><link rel=preload as=font href=f.woff2>"
                        "<object data=\"o.svg\"></object>"),
              "<link rel=\"shortcut icon\" href=\"kiv:/f.ico\"><link rel=preload as=font href=kiv:f.woff2>"
              "<object data=\"kiv:o.svg\"></object>");
    // A srcset candidate's replacement cannot break the list: blanks and commas are written as references.
    const auto awkward = [](std::string_view) -> std::optional<std::string> { return "kiv:a b"; };
    EXPECT_EQ(kiv::withOfflineLinks("<img srcset=\"x.png 2x\">", kPageAddress, awkward),
              "<img srcset=\"kiv:a&#32;b 2x\">");
}

TEST(DeliveredLinks, CssEscapesInStylesAreReadBeforeCombining) {
    std::vector<std::string> seen;
    const auto recording = [&seen](std::string_view value) -> std::optional<std::string> {
        seen.emplace_back(value);
        return "kiv:" + std::string(value);
    };
    const std::string out =
        kiv::withOfflineLinks("<style>a{background:url(\"e\\2e png\")}</style><p style=\"background:url(f\\2e png)\">",
                              kPageAddress, recording);
    EXPECT_EQ(seen, (std::vector<std::string>{"e.png", "f.png"}));
    EXPECT_EQ(out, "<style>a{background:url(\"kiv:e.png\")}</style><p style=\"background:url(kiv:f.png)\">");
}

TEST(DeliveredLinks, AStyleAttributesReplacementIsEscapedForCssAndHtml) {
    const auto awkward = [](std::string_view) -> std::optional<std::string> { return "kiv:a (b)"; };
    EXPECT_EQ(kiv::withOfflineLinks("<div style=\"background:url(d.png)\">", kPageAddress, awkward),
              "<div style=\"background:url(kiv:a\\20&#32;\\28&#32;b\\29&#32;)\">");
}

TEST(DeliveredStyleSheets, UrlValuesInEveryQuotingAndImportsAreReplaced) {
    EXPECT_EQ(sheet("a { background: url(a.png) } b { background: URL( \"b.png\" ) } c { background: url('c.png') }"),
              "a { background: url(kiv:a.png) } b { background: URL( \"kiv:b.png\" ) } "
              "c { background: url('kiv:c.png') }");
    EXPECT_EQ(sheet("@import 'one.css';\n@IMPORT \"two.css\" screen;\n@import url(three.css);"),
              "@import 'kiv:one.css';\n@IMPORT \"kiv:two.css\" screen;\n@import url(kiv:three.css);");
    EXPECT_EQ(sheet("@font-face { src: url(f.woff) format(\"woff\"), url(\"f.ttf\") }"),
              "@font-face { src: url(kiv:f.woff) format(\"woff\"), url(\"kiv:f.ttf\") }");
    // A string left open ends at its line, and so does a quoted url( value, which then is no link.
    EXPECT_EQ(sheet("a { content: \"open\n} b { background: url('x.png\n) url(y.png) }"),
              "a { content: \"open\n} b { background: url('x.png\n) url(kiv:y.png) }");
}

TEST(DeliveredStyleSheets, DataCommentsAndOtherStringsStay) {
    const std::string untouched =
        "a { background: url(data:image/png;base64,AAAA) } /* url(gone.png) @import \"no.css\"; */"
        " b::before { content: \"url(quoted.png)\" } c { background: myurl(x.png) } d { background: url() }";
    EXPECT_EQ(sheet(untouched), untouched);
    EXPECT_EQ(sheet("a{background:url('DATA:x')}/* open url(x.png)"), "a{background:url('DATA:x')}/* open url(x.png)");
    // An escaped quote ends no string; the value goes with its escapes read, its replacement escaped.
    EXPECT_EQ(sheet("a { content: 'it\\'s url(n.png)' } b { background: url(\"y\\\".png\") }"),
              "a { content: 'it\\'s url(n.png)' } b { background: url(\"kiv:y\\22 .png\") }");
}

TEST(DeliveredStyleSheets, TheCombinerMayRefuseAndReplacementsAreEscaped) {
    const auto refusing = [](std::string_view value) -> std::optional<std::string> {
        if (value == "keep.png") return std::nullopt;
        return "kiv:" + std::string(value) + " (1)";
    };
    EXPECT_EQ(kiv::cssWithOfflineLinks("a{background:url(keep.png)}b{background:url(go.png)}", refusing),
              "a{background:url(keep.png)}b{background:url(kiv:go.png\\20 \\28 1\\29 )}");
    const auto quotes = [](std::string_view) -> std::optional<std::string> { return "kiv:'\""; };
    EXPECT_EQ(kiv::cssWithOfflineLinks("@import 'x\"y.css';", quotes), "@import 'kiv:\\27 \\22 ';");
}

}  // namespace
