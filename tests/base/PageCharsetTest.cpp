#include "base/PageCharset.h"

#include <gtest/gtest.h>

#include "base/HtmlScanner.h"
#include "base/LinkText.h"

namespace {

const char *kBase = "http://example.com/dir/page.html";

// "файл" in windows-1251 and in UTF-8. Stored addresses keep such bytes as
// they are; a request writes them percent-encoded.
const std::string kFileCp1251 = "\xF4\xE0\xE9\xEB";
const std::string kFileUtf8 = "\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB";

std::vector<std::string> linksOf(const std::string &page, const std::string &contentType) {
    std::vector<std::string> out;
    for (const eng::PageLink &l : eng::extractLinks(kBase, page, eng::pageCharset(contentType, page)).links)
        out.push_back(l.url);
    return out;
}

}  // namespace

TEST(PageCharset, TableNamesThenAnyNameIconvKnows) {
    EXPECT_EQ(eng::charsetNamed("windows-1251"), "CP1251");
    EXPECT_EQ(eng::charsetNamed("koi8-r"), "KOI8-R");
    // Names outside the table, in any letter case, quoted or not.
    EXPECT_EQ(eng::charsetNamed("windows-1252"), "windows-1252");
    EXPECT_EQ(eng::charsetNamed("\"Shift_JIS\""), "Shift_JIS");
    EXPECT_EQ(eng::charsetNamed("Windows-1251"), "Windows-1251");
    for (const char *none : {"utf-8", "UTF8", "", "  ", "no-such-charset", "koi8-r; q=1"})
        EXPECT_EQ(eng::charsetNamed(none), "") << none;
}

TEST(PageCharset, TheHeaderDecidesThenTheMetas) {
    const std::string meta = "<meta http-equiv=Content-Type content=\"text/html; charset=iso-8859-15\">";
    EXPECT_EQ(eng::pageCharset("text/html; charset=gb2312", meta), "gb2312");
    EXPECT_EQ(eng::pageCharset("text/html", meta), "iso-8859-15");
    EXPECT_EQ(eng::pageCharset("text/html", "<meta charset=windows-1251>"), "CP1251");
    EXPECT_EQ(eng::pageCharset("text/html; charset=utf-8", meta), "");
    EXPECT_EQ(eng::pageCharset("text/html", "<p>nothing declared</p>"), "");
    EXPECT_EQ(eng::contentTypeCharset("text/html; charset=windows-1252"), "windows-1252");
}

TEST(PageCharset, LinksAreRequestedAsBrowsersRequestThem) {
    // The path in UTF-8, the query in the page's own charset.
    const std::string page = "<a href=\"" + kFileCp1251 + "-2.html\"><a href=\"find?q=" + kFileCp1251 +
                             "\"><img src=\"/" + kFileCp1251 + ".gif#" + kFileCp1251 + "\">";
    EXPECT_EQ(linksOf(page, "text/html; charset=windows-1251"),
              (std::vector<std::string>{"http://example.com/dir/" + kFileUtf8 + "-2.html",
                                        "http://example.com/dir/find?q=" + kFileCp1251,
                                        "http://example.com/" + kFileUtf8 + ".gif"}));
    // A UTF-8 page's links keep their bytes.
    EXPECT_EQ(linksOf("<a href=\"\xD1\x84.html?\xD1\x84\">", "text/html"),
              (std::vector<std::string>{"http://example.com/dir/\xD1\x84.html?\xD1\x84"}));
    // References are decoded; the fragment stays UTF-8.
    EXPECT_EQ(eng::linkText("\xE9?q=\xE9&#38;r#\xE9", "ISO-8859-1"), "\xC3\xA9?q=\xE9&r#\xC3\xA9");
}

TEST(PageCharset, TitlesInAnyCharset) {
    EXPECT_EQ(eng::pageTitle("<title>Caf\xE9</title>", "text/html; charset=windows-1252"), "Caf\xC3\xA9");
    EXPECT_EQ(eng::pageTitle("<title>\x93\xfa\x96\x7b</title>", "text/html; charset=shift_jis"),
              "\xE6\x97\xA5\xE6\x9C\xAC");  // 日本
    // Declared by the page alone.
    EXPECT_EQ(eng::pageTitle("<meta charset=\"iso-8859-15\"><title>\xA4 5</title>", "text/html"), "\xE2\x82\xAC 5");
}
