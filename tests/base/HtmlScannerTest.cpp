#include "base/HtmlScanner.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

const char *kBase = "http://example.com/dir/page.html";

struct Case {
    const char *markup;
    std::vector<std::pair<int, std::string>> links;  // (kind, address), in order
};

std::vector<std::pair<int, std::string>> linksOf(const std::string &page, const std::string &base = kBase) {
    std::vector<std::pair<int, std::string>> out;
    for (const eng::PageLink &l : eng::extractLinks(base, page).links) out.emplace_back(l.kind, l.url);
    return out;
}

}  // namespace

TEST(HtmlScanner, LinksOfRealWorldMarkup) {
    const std::vector<Case> cases = {
        {R"(<a href="x.html">x</a>)", {{0, "http://example.com/dir/x.html"}}},
        {R"(<A HREF=x.html#top>x</A>)", {{0, "http://example.com/dir/x.html"}}},
        {R"(<a href='../up.html'>)", {{0, "http://example.com/up.html"}}},
        {"<a\n  class=\"c\"\n  href=\n \"/abs.html\"\n>", {{0, "http://example.com/abs.html"}}},
        {R"(<area shape=rect href="map.html">)", {{0, "http://example.com/dir/map.html"}}},
        {R"(<a href="mailto:me@example.com">)", {}},
        {"<a href=\"javascript:go()\">", {}},
        {R"(<abbr href="no.html">)", {}},
        {R"(<!-- <a href="hidden.html"> --><a href="shown.html">)", {{0, "http://example.com/dir/shown.html"}}},
        {R"(<script src="s.js"></script>)", {{6, "http://example.com/dir/s.js"}}},
        {R"(<script>document.write('<img src="in.gif">')</script><img src="out.gif">)",
         {{1, "http://example.com/dir/out.gif"}}},
        {R"(<scripts src="odd.js">)", {{6, "http://example.com/dir/odd.js"}}},
        {R"(<img src="a.gif"><IMG SRC="a.gif">)", {{1, "http://example.com/dir/a.gif"}}},
        {R"(<a href="q?a=1&amp;b=2">)", {{0, "http://example.com/dir/q?a=1&b=2"}}},
        {R"(<a href="q?a=1&#38;b=2">)", {{0, "http://example.com/dir/q?a=1&b=2"}}},
        {R"(<a href="q?a=1&#x26;b=2">)", {{0, "http://example.com/dir/q?a=1&b=2"}}},
        {R"(<link rel=stylesheet href="s.css?v=1&#38;m=2">)", {{11, "http://example.com/dir/s.css?v=1&m=2"}}},
        {R"(<body background="bg.jpg"><table background="t.gif"><td background="c.gif"><th background="h.gif">)",
         {{2, "http://example.com/dir/bg.jpg"},
          {3, "http://example.com/dir/t.gif"},
          {13, "http://example.com/dir/c.gif"},
          {14, "http://example.com/dir/h.gif"}}},
        {R"(<frameset><frame src="f.html"><iframe src="//other.org/i.html"></frameset>)",
         {{4, "http://example.com/dir/f.html"}, {5, "http://other.org/i.html"}}},
        {R"(<bgsound src="m.mid"><input type=image src="go.gif"><embed src="movie.swf">)",
         {{7, "http://example.com/dir/m.mid"},
          {8, "http://example.com/dir/go.gif"},
          {9, "http://example.com/dir/movie.swf"}}},
        {R"(<applet code="A.class" codebase="classes">)", {{10, "http://example.com/dir/classes/A.class"}}},
        {R"(<applet code="B.class">)", {{10, "http://example.com/dir/B.class"}}},
        {R"(<link rel="stylesheet" href="s.css"><a href="p.html">)",
         {{11, "http://example.com/dir/s.css"}, {0, "http://example.com/dir/p.html"}}},
        {R"(<a href="p.html"><link rel=StyleSheet href=late.css>)",
         {{11, "http://example.com/dir/late.css"}, {0, "http://example.com/dir/p.html"}}},
        {R"(<meta http-equiv="Refresh" content="5; URL=next.html">)", {{12, "http://example.com/dir/next.html"}}},
        {R"(<meta http-equiv=refresh content="0;url = 'quoted.html'">)", {{12, "http://example.com/dir/quoted.html"}}},
        {R"(<meta http-equiv="refresh" content="30">)", {}},
        {R"(<a href="ok.html"><a href="cut.html)", {{0, "http://example.com/dir/ok.html"}}},
        {R"(<a href="ok.html"><!-- never closed <a href="x.html">)", {{0, "http://example.com/dir/ok.html"}}},
        {"", {}},
    };
    for (const Case &c : cases) EXPECT_EQ(linksOf(c.markup), c.links) << c.markup;
}

TEST(HtmlScanner, SpotsMarkEveryOccurrenceInOrder) {
    const std::string page = R"(<link rel=stylesheet href="s.css"><img src="a.gif"><img src='a.gif'>)"
                             R"(<applet code=A.class codebase="cls/">)";
    eng::PageLinks found = eng::extractLinks(kBase, page);
    EXPECT_EQ(found.links.size(), 3u);
    ASSERT_EQ(found.spots.size(), 4u);
    EXPECT_EQ(page.substr(found.spots[0].offset, found.spots[0].length), "s.css");
    EXPECT_EQ(page.substr(found.spots[1].offset, found.spots[1].length), "a.gif");
    EXPECT_EQ(page.substr(found.spots[2].offset, found.spots[2].length), "a.gif");
    EXPECT_EQ(found.spots[3].kind, -1);  // the applet's codebase
    EXPECT_EQ(page.substr(found.spots[3].offset, found.spots[3].length), "cls/");
    EXPECT_EQ(found.links[2].url, "http://example.com/dir/cls/A.class");
}

TEST(HtmlScanner, BaseRefreshAndTitle) {
    const std::string page =
        "<html><head><BASE HREF=\"http://mirror.example.net/docs/\"><title> Fish &amp; "
        "Chips </title></head><a href=\"menu.html\">";
    auto base = eng::findBase(page);
    ASSERT_TRUE(base);
    EXPECT_EQ(page.substr(base->offset, base->length), "<BASE HREF=\"http://mirror.example.net/docs/\">");
    EXPECT_EQ(eng::linkBase(kBase, page), "http://mirror.example.net/docs/");
    EXPECT_EQ(linksOf(page, eng::linkBase(kBase, page)),
              (std::vector<std::pair<int, std::string>>{{0, "http://mirror.example.net/docs/menu.html"}}));
    EXPECT_FALSE(eng::findBase("<base target=_top><a href=x>"));
    EXPECT_EQ(eng::linkBase(kBase, "<base target=_top>"), kBase);
    EXPECT_EQ(eng::pageTitle(page, "text/html"), "Fish & Chips");
    EXPECT_EQ(eng::pageTitle("<p>no title</p>", "text/html"), "");
    // A windows-1251 title comes out as UTF-8.
    EXPECT_EQ(eng::pageTitle("<title>\xCF\xF0\xE8\xE2\xE5\xF2</title>", "text/html; charset=windows-1251"),
              "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82");
    EXPECT_EQ(eng::refreshTarget(kBase, R"(<meta http-equiv="refresh" content="2;URL=/home">)"),
              "http://example.com/home");
    EXPECT_EQ(eng::refreshTarget(kBase, "<p>"), "");
}

TEST(HtmlScanner, SpotsTellTheAddressAndFragmentTheirValueReadsAs) {
    const std::string page = R"(<a href="x.html#top">x</a> <img src=../pics/a.gif> <a href="https://else.org/">)"
                             R"(<applet code="A.class" codebase=cls width=5>)";
    const eng::PageLinks found = eng::extractLinks(kBase, page);
    std::vector<std::tuple<int, std::string, std::string>> spots;
    for (const eng::LinkSpot &spot : found.spots) spots.emplace_back(spot.kind, spot.url, spot.fragment);
    EXPECT_EQ(spots, (std::vector<std::tuple<int, std::string, std::string>>{
                         {0, "http://example.com/dir/x.html", "#top"},
                         {1, "http://example.com/pics/a.gif", ""},
                         {0, "https://else.org/", ""},
                         {-1, "http://example.com/dir/cls/", ""},
                     }));
    // A link written in the page's charset reads as the address the scanner stored.
    const eng::PageLinks cyrillic = eng::extractLinks(kBase, "<a href=\"\xEF.html\">", "CP1251");
    ASSERT_EQ(cyrillic.spots.size(), 1u);
    EXPECT_EQ(cyrillic.spots[0].url, "http://example.com/dir/\xD0\xBF.html");
}

TEST(HtmlScanner, ReferencesBeyondTheTagTableThatABrowserFollows) {
    const std::vector<Case> cases = {
        {R"h(<style>@import "s.css"; body { background: url(bg.png) }</style>)h",
         {{11, "http://example.com/dir/s.css"}, {2, "http://example.com/dir/bg.png"}}},
        {R"h(<STYLE><!-- p { background: url('/p.png') } --></STYLE><p>url(text.png)</p>)h",
         {{2, "http://example.com/p.png"}}},
        {R"h(<div style="background-image: url(&quot;q.png&quot;)"><p style='background:url(a.png?x=1&amp;y=2)'>)h",
         {{2, "http://example.com/dir/q.png"}, {2, "http://example.com/dir/a.png?x=1&y=2"}}},
        {R"h(<img src="a.png" srcset="a-2x.png 2x, /b.png 640w,c.png">)h",
         {{1, "http://example.com/dir/a.png"},
          {1, "http://example.com/dir/a-2x.png"},
          {1, "http://example.com/b.png"},
          {1, "http://example.com/dir/c.png"}}},
        {R"h(<picture><source srcset="p.webp" type="image/webp"><source src="p2.png"></picture><source src=v.mp4>)h",
         {{1, "http://example.com/dir/p.webp"},
          {1, "http://example.com/dir/p2.png"},
          {9, "http://example.com/dir/v.mp4"}}},
        {R"h(<video poster="poster.jpg" src="m.webm"><source src="m.mp4"><track src="subs.vtt"></video>)h",
         {{1, "http://example.com/dir/poster.jpg"},
          {9, "http://example.com/dir/m.webm"},
          {9, "http://example.com/dir/m.mp4"},
          {9, "http://example.com/dir/subs.vtt"}}},
        {R"h(<audio src="a.ogg"><source src="a.mp3"></audio>)h",
         {{7, "http://example.com/dir/a.ogg"}, {7, "http://example.com/dir/a.mp3"}}},
        {R"h(<object data="o.swf"></object><embed src="e.swf">)h",
         {{9, "http://example.com/dir/o.swf"}, {9, "http://example.com/dir/e.swf"}}},
        {R"h(<link rel="Shortcut Icon" href="/favicon.ico"><link rel=apple-touch-icon href=t.png><link rel=ICON href=i.svg>)h",
         {{1, "http://example.com/favicon.ico"},
          {1, "http://example.com/dir/t.png"},
          {1, "http://example.com/dir/i.svg"}}},
        {R"h(<link rel=preload as=style href=p.css><link rel=preload as=script href=p.js><link rel=preload as=font href=f.woff2>)h",
         {{11, "http://example.com/dir/p.css"},
          {6, "http://example.com/dir/p.js"},
          {9, "http://example.com/dir/f.woff2"}}},
        {R"h(<link rel=preload as=image href=p.png><link rel=modulepreload href=m.js><link rel=manifest href=app.webmanifest>)h",
         {{1, "http://example.com/dir/p.png"},
          {6, "http://example.com/dir/m.js"},
          {9, "http://example.com/dir/app.webmanifest"}}},
        {R"h(<link rel=alternate href=feed.xml><link rel=next href=2.html><link rel=stylesheet href=s.css>)h",
         {{11, "http://example.com/dir/s.css"}}},
        // Inside a script or a STYLE element no tag counts.
        {R"h(<script>x = '<img srcset="no.png"><div style="background:url(no.png)">'</script>)h", {}},
        {R"h(<style>a::after { content: "<img src=no.png>" }</style><img src=yes.png>)h",
         {{1, "http://example.com/dir/yes.png"}}},
    };
    for (const Case &c : cases) EXPECT_EQ(linksOf(c.markup), c.links) << c.markup;
}

TEST(HtmlScanner, OtherReferencesHaveSpotsOfTheirOwnSyntaxInPageOrder) {
    const std::string page =
        "<div style=\"background:url('d.png')\"><img srcset=\" a.png 1x,\n b.png 2x\" src=c.png>"
        "<style>i{background:url(\"e\\2e png\")}</style>";
    const eng::PageLinks found = eng::extractLinks(kBase, page);
    std::vector<std::tuple<std::string, std::string, eng::LinkSyntax>> spots;
    for (const eng::LinkSpot &spot : found.spots)
        spots.emplace_back(page.substr(spot.offset, spot.length), spot.url, spot.syntax);
    using S = eng::LinkSyntax;
    EXPECT_EQ(spots, (std::vector<std::tuple<std::string, std::string, eng::LinkSyntax>>{
                         {"d.png", "http://example.com/dir/d.png", S::StyleAttribute},
                         {"a.png", "http://example.com/dir/a.png", S::Attribute},
                         {"b.png", "http://example.com/dir/b.png", S::Attribute},
                         {"c.png", "http://example.com/dir/c.png", S::Attribute},
                         {"e\\2e png", "http://example.com/dir/e.png", S::StyleSheet},
                     }));
}

TEST(HtmlScanner, LinksInStylesAndSrcsetAreReadInThePagesCharset) {
    // "п" in windows-1251 is 0xEF; a style element's CSS escape and a srcset both read as UTF-8.
    const std::string page =
        "<img srcset=\"\xEF.png 2x\"><p style=\"background:url(\xEF\xEF.png)\">"
        "<style>a{background:url(\\43F.png)}</style>";
    std::vector<std::pair<int, std::string>> urls;
    for (const eng::PageLink &link : eng::extractLinks(kBase, page, "CP1251").links)
        urls.emplace_back(link.kind, link.url);
    EXPECT_EQ(urls, (std::vector<std::pair<int, std::string>>{{1, "http://example.com/dir/\xD0\xBF.png"},
                                                              {2, "http://example.com/dir/\xD0\xBF\xD0\xBF.png"},
                                                              {2, "http://example.com/dir/\xD0\xBF.png"}}));
}

TEST(HtmlScanner, HostileSrcsetsAndStylesStayLinear) {
    std::string srcset = "<img srcset=\"";
    for (int i = 0; i < 200000; ++i) srcset += "s" + std::to_string(i % 500) + ".png " + std::to_string(i) + "w,";
    srcset += "\">";
    const eng::PageLinks many = eng::extractLinks(kBase, srcset);
    EXPECT_EQ(many.links.size(), 500u);
    EXPECT_EQ(many.spots.size(), 200000u);
    // A megabyte of commas, of descriptors in an open parenthesis, of an open url( in a style attribute.
    EXPECT_TRUE(eng::extractLinks(kBase, "<img srcset=\"" + std::string(1 << 20, ',') + "\">").links.empty());
    EXPECT_EQ(eng::extractLinks(kBase, "<img srcset=\"a.png (" + std::string(1 << 20, 'x') + ", b.png\">").links.size(),
              1u);
    EXPECT_TRUE(eng::extractLinks(kBase, "<p style=\"url(" + std::string(1 << 20, '(') + "\">").links.empty());
    // Half a million tags, each starting inside the one before, searched once each for other references.
    std::string nested;
    for (int i = 0; i < 500000; ++i) nested += "<b";
    EXPECT_EQ(eng::extractLinks(kBase, nested + " style=\"background:url(s.png)\">").links.size(), 1u);
    // A STYLE element never closed holds the rest of the page.
    EXPECT_TRUE(eng::extractLinks(kBase, "<style>" + std::string(1 << 20, '<') + "<img src=x.png>").links.empty());
}
