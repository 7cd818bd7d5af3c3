#include "base/CanonicalUrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/CharacterReferences.h"
#include "base/PercentDecoding.h"

namespace {

struct Row {
    std::string text;
    std::string expected;
};

}  // namespace

TEST(CanonicalUrl, AddressesAsTheEngineStoresThem) {
    const std::vector<Row> rows = {
        {"http://www.example.com/a.html#top ", "http://www.example.com/a.html"},
        {"http://www.example.com/a.html ", "http://www.example.com/a.html"},
        {" \t http://h/x\r\n", "http://h/x"},
        {"HTTP://Host.COM:80/a/../b.html", "http://host.com/b.html"},
        {"https://h/a%20b.html", "https://h/a b.html"},
        {"http://h/a%2Fb?x=%20#y", "http://h/a%2Fb?x=%20"},
        {"ftp://h/pub/", "ftp://h/pub/"},
        {"file:///tmp/a.html", "file:///tmp/a.html"},
        {"http://h/p?a=1&amp;b=2", "http://h/p?a=1&b=2"},
        {"http://h/p?a=1&b=2&amp;c=3", "http://h/p?a=1&b=2&c=3"},
        // The fragment goes before references are read, so a numeric one is cut at its '#'.
        {"http://h/p?a=1&#38;b=2", "http://h/p?a=1&"},
        {"http://h/a\nb\tc\x7F.html", "http://h/abc.html"},
        {"http://h/#a#b", "http://h/#a"},
        {"mailto:joe@example.com", ""},
        {"javascript:go()", ""},
        {"news:comp.lang", ""},
        {"www.example.com/x", ""},
        {"&quot;http://h/x&quot;", ""},
        {"#only", ""},
        {"", ""},
        {"http://h:99999/", ""},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(eng::canonicalUrl(row.text), row.expected);
    }
}

TEST(CanonicalUrl, KeepsTheFragmentAndNumericReferencesWhenAsked) {
    EXPECT_EQ(eng::canonicalUrl("HTTP://H/a.html#Chapter 2", true), "http://h/a.html#Chapter 2");
    EXPECT_EQ(eng::canonicalUrl("http://h/a.html#", true), "http://h/a.html#");
    EXPECT_EQ(eng::canonicalUrl("http://h/a&#32;b.html", true), "http://h/a b.html");
    EXPECT_EQ(eng::canonicalUrl("http://h/a&#10;b", true), "http://h/ab");
}

TEST(CanonicalUrl, VeryLongAddress) {
    const std::string path(20000, 'a');
    EXPECT_EQ(eng::canonicalUrl("HTTP://H/" + path + "?q=1#f"), "http://h/" + path + "?q=1");
}

TEST(CharacterReferences, DecodesOnlyTheKnownReferences) {
    const std::vector<Row> rows = {
        {"a&amp;b", "a&b"},
        {"&lt;&gt;&quot;&nbsp;", "<>\" "},
        {"&#38;", "&"},
        {"&#0038;", "&"},
        {"&#9;&#32;", "  "},
        {"&#10;", "\n"},
        {"&#33;&#47;&#58;&#64;", "!/:@"},
        {"&#48;&#57;&#65;&#13;&#31;&#128;", "&#48;&#57;&#65;&#13;&#31;&#128;"},
        // Hexadecimal references name the same characters as decimal ones.
        {"&#x26;&#X3F;&#x3a;", "&?:"},
        {"&#;&#0;&#-38;&#x;&#99999999999999999999;", "&#;&#0;&#-38;&#x;&#99999999999999999999;"},
        {"&AMP;&Lt;", "&AMP;&Lt;"},
        {"& amp;", "& amp;"},
        {"x&amp", "x&"},
        {"a&", "a&"},
        {"&;", "&;"},
        {"?a=1&b=2", "?a=1&b=2"},
        {"?x&y=1&amp;z", "?x&y=1&z"},
        {"&amp;amp;", "&amp;"},
        {"no references", "no references"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(eng::decodeCharacterReferences(row.text), row.expected);
    }
}

TEST(PercentDecoding, OnlyEscapesFromTheLowestByteUpAreDecoded) {
    EXPECT_EQ(eng::percentDecoded("a%20b%D1%84%2"), "a b\xD1\x84%2");
    EXPECT_EQ(eng::percentDecoded("q=%20%d1%84%7F", 0x80), "q=%20\xD1\x84%7F");
}
