#include "base/StyleSheetScanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/HtmlScanner.h"
#include "engine.h"

namespace {

constexpr std::string_view kSheet = "http://example.com/css/site.css";

std::vector<std::string> valuesOf(std::string_view css) {
    std::vector<std::string> out;
    for (const eng::StyleSheetValue &value : eng::styleSheetValues(css))
        out.push_back((value.import ? "@" : "") + std::string(css.substr(value.offset, value.length)));
    return out;
}

using Links = std::vector<std::pair<int, std::string>>;

Links linksOf(std::string_view css, std::string_view charset = {}) {
    Links out;
    for (const eng::PageLink &link : eng::extractStyleSheetLinks(kSheet, css, charset).links)
        out.emplace_back(link.kind, link.url);
    return out;
}

}  // namespace

TEST(StyleSheetScanner, UrlValuesInEveryQuotingAndImportsInEveryForm) {
    EXPECT_EQ(valuesOf("a{background:url(a.png)} b{background:URL( \"b.png\" )} c{background:url('c.png')}"),
              (std::vector<std::string>{"a.png", "b.png", "c.png"}));
    EXPECT_EQ(valuesOf("@import 'one.css';\n@IMPORT \"two.css\" screen;\n@import url(three.css);@import url('4.css');"),
              (std::vector<std::string>{"@one.css", "@two.css", "@three.css", "@4.css"}));
    EXPECT_EQ(valuesOf("@font-face { src: url(f.woff) format(\"woff\"), url(\"f.ttf\") }"),
              (std::vector<std::string>{"f.woff", "f.ttf"}));
}

TEST(StyleSheetScanner, CommentsStringsDataAndBadValuesYieldNothing) {
    EXPECT_EQ(valuesOf("/* url(gone.png) @import \"no.css\"; */ b::before { content: \"url(quoted.png)\" }"
                       " c { background: myurl(x.png) } d { background: url() } e{background:url(data:image/png,AA)}"
                       " @importance 'x.css';"),
              std::vector<std::string>{});
    // A string left open ends at its line, and so does a quoted url( value, which then is no link.
    EXPECT_EQ(valuesOf("a { content: \"open\n} b { background: url('x.png\n) url(y.png) }"),
              std::vector<std::string>{"y.png"});
    // Unquoted values holding a quote or "(", or more than blanks before ")", are bad urls.
    EXPECT_EQ(valuesOf("a{background:url(a\"b.png)} b{background:url(a b.png)} c{background:url(ok.png )}"),
              std::vector<std::string>{"ok.png"});
    // An escaped ")" or quote ends nothing; an escape before "url(" makes no url.
    EXPECT_EQ(valuesOf("a{background:url(a\\).png)} b{content:'it\\'s url(n.png)'} c{x:\\url(z.png)}"),
              std::vector<std::string>{"a\\).png"});
    // The text's end: an open comment hides the rest, an open url( is taken as far as it goes.
    EXPECT_EQ(valuesOf("a{background:url(last.png"), std::vector<std::string>{"last.png"});
    EXPECT_EQ(valuesOf("/* open url(x.png)"), std::vector<std::string>{});
    EXPECT_EQ(valuesOf("a{background:url('open.png"), std::vector<std::string>{});
}

TEST(StyleSheetScanner, EscapesAreReadAsTheBrowserReadsThem) {
    EXPECT_EQ(eng::cssUnescaped("a\\).png"), "a).png");
    EXPECT_EQ(eng::cssUnescaped("\\31 23.png"), "123.png");
    EXPECT_EQ(eng::cssUnescaped("\\E9t\\E9.png"), "\xC3\xA9t\xC3\xA9.png");
    EXPECT_EQ(eng::cssUnescaped("line\\\ncut"), "linecut");
    EXPECT_EQ(eng::cssUnescaped("\\0 x\\D800 y\\110000z\\"), "\xEF\xBF\xBDx\xEF\xBF\xBDy\xEF\xBF\xBDz");
    EXPECT_EQ(eng::cssUnescaped("\\1F600\\20 sp"), "\xF0\x9F\x98\x80 sp");
}

TEST(StyleSheetScanner, LinksResolveAgainstTheSheetWithKindsByUse) {
    EXPECT_EQ(linksOf("@import \"base.css\";\nbody{background:url(../img/bg.png)}\n"
                      "i{background:url(/abs.gif)} j{background:url(//cdn.example.org/j.png)}"
                      " k{background:url(http://other.org/k.png#frag)} l{background:url(../img/bg.png)}"),
              (Links{{ENG_LINK_STYLESHEET, "http://example.com/css/base.css"},
                     {ENG_LINK_BACKGROUND, "http://example.com/img/bg.png"},
                     {ENG_LINK_BACKGROUND, "http://example.com/abs.gif"},
                     {ENG_LINK_BACKGROUND, "http://cdn.example.org/j.png"},
                     {ENG_LINK_BACKGROUND, "http://other.org/k.png"}}));
    // Escapes are read before resolving; a value in a single-byte charset is read as UTF-8.
    EXPECT_EQ(linksOf("a{background:url(dot\\2e png)} b{background:url('\\E9.png')}"),
              (Links{{ENG_LINK_BACKGROUND, "http://example.com/css/dot.png"},
                     {ENG_LINK_BACKGROUND, "http://example.com/css/\xC3\xA9.png"}}));
    EXPECT_EQ(linksOf("a{background:url(\xE9.png)}", "ISO-8859-1"),
              (Links{{ENG_LINK_BACKGROUND, "http://example.com/css/\xC3\xA9.png"}}));
    // Spots cover the value as written, and every occurrence has one.
    const std::string css = "a{background:url( 'x.png#f' )} b{background:url(x.png)}";
    const eng::PageLinks found = eng::extractStyleSheetLinks(kSheet, css, {});
    ASSERT_EQ(found.spots.size(), 2u);
    EXPECT_EQ(css.substr(found.spots[0].offset, found.spots[0].length), "x.png#f");
    EXPECT_EQ(found.spots[0].fragment, "#f");
    EXPECT_EQ(found.spots[0].syntax, eng::LinkSyntax::StyleSheet);
    EXPECT_EQ(css.substr(found.spots[1].offset, found.spots[1].length), "x.png");
}

TEST(StyleSheetScanner, TypeAndCharsetOfASheet) {
    EXPECT_TRUE(eng::isStyleSheetType("text/css"));
    EXPECT_TRUE(eng::isStyleSheetType("Text/CSS; charset=utf-8"));
    EXPECT_FALSE(eng::isStyleSheetType("text/cssx"));
    EXPECT_FALSE(eng::isStyleSheetType("text/html"));
    EXPECT_EQ(eng::styleSheetCharset("text/css; charset=windows-1251", "@charset \"ISO-8859-1\";"),
              eng::styleSheetCharset("text/html; charset=windows-1251", ""));
    EXPECT_NE(eng::styleSheetCharset("text/css", "@charset \"ISO-8859-1\";"), "");
    EXPECT_EQ(eng::styleSheetCharset("text/css", "@charset \"utf-8\";"), "");
    EXPECT_EQ(eng::styleSheetCharset("text/css", " @charset \"ISO-8859-1\";"), "");
}

TEST(StyleSheetScanner, HostileSheetsStayLinearAndBounded) {
    // 100,000 url( values naming 1,000 addresses: one link each, a spot per value.
    std::string css;
    for (int i = 0; i < 100000; ++i) css += "a{background:url(i" + std::to_string(i % 1000) + ".png)}";
    const eng::PageLinks many = eng::extractStyleSheetLinks(kSheet, css, {});
    EXPECT_EQ(many.links.size(), 1000u);
    EXPECT_EQ(many.spots.size(), 100000u);
    // Megabytes of open url(, of escapes and of an open comment.
    EXPECT_EQ(valuesOf(std::string(1 << 20, '(').insert(0, "url(")), std::vector<std::string>{});
    EXPECT_EQ(eng::styleSheetValues("url(" + std::string(4 << 20, 'a')).size(), 1u);
    EXPECT_TRUE(eng::styleSheetValues(std::string(1 << 20, '\\')).empty());
    EXPECT_TRUE(eng::styleSheetValues("/*" + std::string(1 << 20, 'u')).empty());
}
