#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/Url.h"

namespace url = eng::url;

namespace {

struct CombineRow {
    std::string base;
    std::string relative;
    std::optional<std::string> expected;  // nullopt: the combination fails
};

constexpr unsigned kCallerFlags = url::NoEncode;
constexpr unsigned kCanonicalFlags = url::NoEncode | url::Decode | url::BrowserMode;

void expectCombines(const std::vector<CombineRow> &rows, unsigned flags) {
    for (const CombineRow &row : rows) {
        SCOPED_TRACE("base \"" + row.base + "\", relative \"" + row.relative + "\"");
        EXPECT_EQ(url::combine(row.base, row.relative, flags), row.expected);
        // A combined address is canonical: canonicalising it again changes nothing.
        if (row.expected) {
            EXPECT_EQ(url::canonicalize(*row.expected, flags), row.expected);
        }
    }
}

}  // namespace

// The examples of RFC 3986, section 5.4, with the browser's reading of "http:g".
TEST(UrlCombine, ReferenceResolutionExamples) {
    const std::string base = "http://a/b/c/d;p?q";
    expectCombines(
        {
            {base, "g:h", "g:h"},
            {base, "g", "http://a/b/c/g"},
            {base, "./g", "http://a/b/c/g"},
            {base, "g/", "http://a/b/c/g/"},
            {base, "/g", "http://a/g"},
            {base, "//g", "http://g/"},
            {base, "?y", "http://a/b/c/d;p?y"},
            {base, "g?y", "http://a/b/c/g?y"},
            {base, "#s", "http://a/b/c/d;p?q#s"},
            {base, "g#s", "http://a/b/c/g#s"},
            {base, "g?y#s", "http://a/b/c/g?y#s"},
            {base, ";x", "http://a/b/c/;x"},
            {base, "g;x", "http://a/b/c/g;x"},
            {base, "g;x?y#s", "http://a/b/c/g;x?y#s"},
            {base, "", "http://a/b/c/d;p?q"},
            {base, ".", "http://a/b/c/"},
            {base, "./", "http://a/b/c/"},
            {base, "..", "http://a/b/"},
            {base, "../", "http://a/b/"},
            {base, "../g", "http://a/b/g"},
            {base, "../..", "http://a/"},
            {base, "../../", "http://a/"},
            {base, "../../g", "http://a/g"},
            {base, "../../../g", "http://a/g"},
            {base, "../../../../g", "http://a/g"},
            {base, "/./g", "http://a/g"},
            {base, "/../g", "http://a/g"},
            {base, "g.", "http://a/b/c/g."},
            {base, ".g", "http://a/b/c/.g"},
            {base, "g..", "http://a/b/c/g.."},
            {base, "..g", "http://a/b/c/..g"},
            {base, "./../g", "http://a/b/g"},
            {base, "./g/.", "http://a/b/c/g/"},
            {base, "g/./h", "http://a/b/c/g/h"},
            {base, "g/../h", "http://a/b/c/h"},
            {base, "g;x=1/./y", "http://a/b/c/g;x=1/y"},
            {base, "g;x=1/../y", "http://a/b/c/y"},
            {base, "g?y/./x", "http://a/b/c/g?y/./x"},
            {base, "g?y/../x", "http://a/b/c/g?y/../x"},
            {base, "g#s/./x", "http://a/b/c/g#s/./x"},
            {base, "g#s/../x", "http://a/b/c/g#s/../x"},
            {base, "http:g", "http://a/b/c/g"},
        },
        kCallerFlags);
}

TEST(UrlCombine, LinksOfAPage) {
    const std::string page = "http://www.example.com/dir/sub/page.html";
    expectCombines(
        {
            {page, "other.html", "http://www.example.com/dir/sub/other.html"},
            {page, "images/logo.gif", "http://www.example.com/dir/sub/images/logo.gif"},
            {page, "./images/logo.gif", "http://www.example.com/dir/sub/images/logo.gif"},
            {page, "../index.html", "http://www.example.com/dir/index.html"},
            {page, "../../index.html", "http://www.example.com/index.html"},
            {page, "../../../index.html", "http://www.example.com/index.html"},
            {page, "../../../../../a/../b.html", "http://www.example.com/b.html"},
            {page, "/", "http://www.example.com/"},
            {page, "/css/site.css", "http://www.example.com/css/site.css"},
            {page, "/a/./b/../c.html", "http://www.example.com/a/c.html"},
            {page, "sub2/", "http://www.example.com/dir/sub/sub2/"},
            {page, "sub2/.", "http://www.example.com/dir/sub/sub2/"},
            {page, "sub2/..", "http://www.example.com/dir/sub/"},
            {page, "...", "http://www.example.com/dir/sub/..."},
            {page, "a//b", "http://www.example.com/dir/sub/a//b"},
            {page, "?page=2", "http://www.example.com/dir/sub/page.html?page=2"},
            {page, "?", "http://www.example.com/dir/sub/page.html?"},
            {page, "#top", "http://www.example.com/dir/sub/page.html#top"},
            {page, "#", "http://www.example.com/dir/sub/page.html#"},
            {page, "page.html#section-2", "http://www.example.com/dir/sub/page.html#section-2"},
            {page, "search.asp?q=a+b&lang=en", "http://www.example.com/dir/sub/search.asp?q=a+b&lang=en"},
            {page, "search.asp?q=a/b/../c", "http://www.example.com/dir/sub/search.asp?q=a/b/../c"},
            {page, "list.php?a=1#x?y", "http://www.example.com/dir/sub/list.php?a=1#x?y"},
            {page, "//cdn.example.net/lib.js", "http://cdn.example.net/lib.js"},
            {page, "//CDN.Example.NET", "http://cdn.example.net/"},
            {page, "//cdn.example.net:80/a/../b", "http://cdn.example.net/b"},
            {page, "https://secure.example.com/login", "https://secure.example.com/login"},
            {page, "HTTPS://Secure.Example.COM:443/Login", "https://secure.example.com/Login"},
            {page, "http://www.example.com:80/x", "http://www.example.com/x"},
            {page, "http://www.example.com:8080/x", "http://www.example.com:8080/x"},
            {page, "HTTP://WWW.EXAMPLE.COM", "http://www.example.com/"},
            {page, "ftp://ftp.example.com/pub/file.zip", "ftp://ftp.example.com/pub/file.zip"},
            {page, "ftp://ftp.example.com:21/pub/", "ftp://ftp.example.com/pub/"},
            {page, "ftp://ftp.example.com:2121/pub/", "ftp://ftp.example.com:2121/pub/"},
            {page, "mailto:someone@example.com", "mailto:someone@example.com"},
            {page, "MAILTO:Someone@Example.com", "mailto:Someone@Example.com"},
            {page, "javascript:void(0)", "javascript:void(0)"},
            {page, "JavaScript:window.open('a b.html')", "javascript:window.open('a b.html')"},
            {page, "news:comp.lang.c++", "news:comp.lang.c++"},
            {page, "data:image/gif;base64,R0lGODlh", "data:image/gif;base64,R0lGODlh"},
            {page, "about:blank", "about:blank"},
            {page, "  spaced.html  ", "http://www.example.com/dir/sub/spaced.html"},
            {page, "\tTAB.html\r\n", "http://www.example.com/dir/sub/TAB.html"},
            {page, "   ", "http://www.example.com/dir/sub/page.html"},
        },
        kCallerFlags);
}

TEST(UrlCombine, BasesOfEveryShape) {
    expectCombines(
        {
            {"http://www.example.com", "a.html", "http://www.example.com/a.html"},
            {"http://www.example.com", "", "http://www.example.com/"},
            {"http://www.example.com", "?q=1", "http://www.example.com/?q=1"},
            {"http://www.example.com", "../a", "http://www.example.com/a"},
            {"http://www.example.com/dir/", "a", "http://www.example.com/dir/a"},
            {"http://www.example.com/dir", "a", "http://www.example.com/a"},
            {"http://h/a/b?x=/y/z", "c", "http://h/a/c"},
            {"http://h/a/b?x=1#frag", "", "http://h/a/b?x=1"},
            {"http://h/a/b?x=1#frag", "#new", "http://h/a/b?x=1#new"},
            {"http://h/a/b?x=1#frag", "?y=2", "http://h/a/b?y=2"},
            {"http://h/a/b?x=1#frag", "?y=2#z", "http://h/a/b?y=2#z"},
            {"http://h/a/b#f/g", "c", "http://h/a/c"},
            {"http://h/a/b#f?g", "?q", "http://h/a/b?q"},
            {"http://h/a/b#f?g", "", "http://h/a/b"},
            {"HTTP://WWW.EXAMPLE.COM/Dir/Page.html", "x.html", "http://www.example.com/Dir/x.html"},
            {"http://h:8080/a/b", "c", "http://h:8080/a/c"},
            {"http://h:8080/a/b", "/c", "http://h:8080/c"},
            {"http://h:8080/a/b", "//h/c", "http://h/c"},
            {"http://h:80/a/b", "c", "http://h/a/c"},
            {"https://h:443/a/b", "/c", "https://h/c"},
            {"https://h/a/b", "//other/x", "https://other/x"},
            {"https://h/a/b", "https:c", "https://h/a/c"},
            {"https://h/a/b", "HTTPS:/c", "https://h/c"},
            {"https://h/a/b", "https:", "https://h/a/b"},
            {"ftp://user:pw@ftp.example.com/pub/dir/", "file.txt", "ftp://user:pw@ftp.example.com/pub/dir/file.txt"},
            {"ftp://ftp.example.com/pub/dir/file.txt", "../other/", "ftp://ftp.example.com/pub/other/"},
            {"ftp://ftp.example.com/pub/", "ftp:x.txt", "ftp://ftp.example.com/pub/x.txt"},
            {"http://user:pass@h/a/", "b", "http://user:pass@h/a/b"},
            {"http://User:Pass@H/a/", "/b", "http://User:Pass@h/b"},
            {"http://h/a/", "//u:p@Other/x", "http://u:p@other/x"},
            {"http://h/a/", "http://u@Other:81", "http://u@other:81/"},
            {"http://192.168.0.1/a/", "b", "http://192.168.0.1/a/b"},
            {"http://192.168.0.1:80/a/", "../b", "http://192.168.0.1/b"},
            {"http://h/a/b/c", "../../../../x", "http://h/x"},
            {"http://h/", "..", "http://h/"},
            {"http://h/", "../", "http://h/"},
            {"http://h/a", ".", "http://h/"},
            {"http://h/a/b/", "./", "http://h/a/b/"},
            {"http://h/a/b/", "%2E%2E/x", "http://h/a/x"},
            {"http://h/a/b/", ".%2e/x", "http://h/a/x"},
            {"http://h/a/b/", "%2e/x", "http://h/a/b/x"},
            {"http://h/a/b/", "%2e%2e%2e/x", "http://h/a/b/%2e%2e%2e/x"},
        },
        kCallerFlags);
}

TEST(UrlCombine, Ipv6Hosts) {
    expectCombines(
        {
            {"http://[::1]/a/b", "c", "http://[::1]/a/c"},
            {"http://[2001:DB8::1]:8080/a/", "../b", "http://[2001:db8::1]:8080/b"},
            {"http://[::1]:80/", "x", "http://[::1]/x"},
            {"http://h/a/b", "//[FE80::1]/x", "http://[fe80::1]/x"},
            {"http://h/a/b", "http://[::1", std::nullopt},
            {"https://[::ffff:192.0.2.1]:443/", "a?b", "https://[::ffff:192.0.2.1]/a?b"},
        },
        kCallerFlags);
}

TEST(UrlCombine, FileAndOpaqueBases) {
    expectCombines(
        {
            {"file:///home/user/site/index.html", "img/a.png", "file:///home/user/site/img/a.png"},
            {"file:///home/user/site/index.html", "../other.html", "file:///home/user/other.html"},
            {"file:///home/user/site/index.html", "/etc/x", "file:///etc/x"},
            {"file:///home/user/site/index.html", "#part", "file:///home/user/site/index.html#part"},
            {"FILE:///C:/site/index.html", "b.html", "file:///C:/site/b.html"},
            {"file:///home/u/a/b.html", "c\\d.html", "file:///home/u/a/c\\d.html"},
            {"mailto:a@b.c", "x.html", std::nullopt},
            {"mailto:a@b.c", "#f", "mailto:a@b.c#f"},
            {"mailto:a@b.c", "?subject=x", std::nullopt},
            {"javascript:go()", "", "javascript:go()"},
            {"javascript:go()", "/x", std::nullopt},
            {"javascript:go()", "http://H/x", "http://h/x"},
            {"http:/a/b", "..//evil.example/x", "http:/.//evil.example/x"},
            // An absolute address needs nothing of the base, not even a path to resolve against.
            {"http:x", "http://H/a/../b", "http://h/b"},
            {"https:", "HTTPS:\\\\h\\x", "https://h/x"},
            {"http:x", "http:y", std::nullopt},
            {"http:/a/b", "/.//x", "http:/.//x"},
            {"file:/a/b.html", ".//c", "file:/a//c"},
            {"file:/a/b.html", "..//c", "file:/.//c"},
        },
        kCallerFlags);
}

TEST(UrlCombine, FailsWithoutABaseScheme) {
    expectCombines(
        {
            {"not a url", "x.html", std::nullopt},
            {"www.example.com/dir/", "x.html", std::nullopt},
            {"", "x", std::nullopt},
            {"", "", std::nullopt},
            {"/dir/page.html", "#top", std::nullopt},
            {"", "http://H/x", "http://h/x"},
            {"not a url", "https://H/x", "https://h/x"},
            {"not a url", "javascript:x()", "javascript:x()"},
        },
        kCallerFlags);
}

TEST(UrlCombine, BadPortsFail) {
    expectCombines(
        {
            {"http://h/", "http://h2:99999/x", std::nullopt},
            {"http://h/", "http://h2:65536/x", std::nullopt},
            {"http://h/", "http://h2:8o/x", std::nullopt},
            {"http://h/", "//h2:-1/x", std::nullopt},
            {"http://h/", "http://h2:65535/x", "http://h2:65535/x"},
            {"http://h/", "http://h2:/x", "http://h2/x"},
        },
        kCallerFlags);
}

TEST(UrlCombine, BackslashesCountAsSlashesInWebAddresses) {
    const std::string page = "http://h/a/b/c.html";
    expectCombines(
        {
            {page, "..\\d.html", "http://h/a/d.html"},
            {page, "img\\x.gif", "http://h/a/b/img/x.gif"},
            {page, "\\root.html", "http://h/root.html"},
            {page, "\\\\other\\x", "http://other/x"},
            {page, "http:\\\\other\\x", "http://other/x"},
            {page, "x.asp?p=a\\b", "http://h/a/b/x.asp?p=a\\b"},
            {page, "x.html#a\\b", "http://h/a/b/x.html#a\\b"},
            {page, ".\\.\\y\\..\\z", "http://h/a/b/z"},
            {"http://h/a\\b\\c.html", "d.html", "http://h/a/b/d.html"},
            {"http://h\\a\\c.html", "d.html", "http://h/a/d.html"},
            {"ftp://h/a/b", "..\\c", "ftp://h/c"},
        },
        kCallerFlags);
}

TEST(UrlCombine, EscapesStayAsWrittenWithoutDecoding) {
    const std::string dir = "http://h/a/";
    expectCombines(
        {
            {dir, "b%20c.html", "http://h/a/b%20c.html"},
            {dir, "caf%C3%A9.html", "http://h/a/caf%C3%A9.html"},
            {dir, "caf%c3%a9.html", "http://h/a/caf%c3%a9.html"},
            {dir, "a%2Fb", "http://h/a/a%2Fb"},
            {dir, "%25", "http://h/a/%25"},
            {dir, "%7Euser/", "http://h/a/%7Euser/"},
            {dir, "100%.html", "http://h/a/100%.html"},
            {dir, "b c.html", "http://h/a/b c.html"},
            {dir, "caf\xC3\xA9.html", "http://h/a/caf\xC3\xA9.html"},
            {dir, "?q=a b&c=d", "http://h/a/?q=a b&c=d"},
            {dir, "a%2f..%2fb", "http://h/a/a%2f..%2fb"},
            {dir, "x<y>.html", "http://h/a/x<y>.html"},
        },
        kCallerFlags);
}

TEST(UrlCombine, EncodesUnsafeCharactersWhenAsked) {
    const std::string dir = "http://h/a/";
    expectCombines(
        {
            {dir, "b c.html", "http://h/a/b%20c.html"},
            {dir, "caf\xC3\xA9.html", "http://h/a/caf%C3%A9.html"},
            {dir, "x.html?q=a b", "http://h/a/x.html?q=a%20b"},
            {dir, "x.html#a b", "http://h/a/x.html#a%20b"},
            {dir, "a<b>.html", "http://h/a/a%3Cb%3E.html"},
            {dir, "a|b^c`d{e}\"f", "http://h/a/a%7Cb%5Ec%60d%7Be%7D%22f"},
            {dir, "b%20c", "http://h/a/b%20c"},
            {dir, "100%", "http://h/a/100%"},
            {dir, "a\x7F", "http://h/a/a%7F"},
        },
        0);
}

TEST(UrlCombine, DecodesThePathInBrowserMode) {
    const std::string dir = "http://h/a/";
    expectCombines(
        {
            {dir, "b%20c.html", "http://h/a/b c.html"},
            {dir, "caf%C3%A9.html", "http://h/a/caf\xC3\xA9.html"},
            {dir, "%7Euser/", "http://h/a/~user/"},
            {dir, "%41%42", "http://h/a/AB"},
            {dir, "a%2Fb", "http://h/a/a%2Fb"},
            {dir, "a%2fb", "http://h/a/a%2Fb"},
            {dir, "x%3Fy", "http://h/a/x%3Fy"},
            {dir, "x%23y", "http://h/a/x%23y"},
            {dir, "x%25y", "http://h/a/x%25y"},
            {dir, "x%5cy", "http://h/a/x%5Cy"},
            {dir, "x%00y", "http://h/a/x%00y"},
            {dir, "x%0ay", "http://h/a/x%0Ay"},
            {dir, "x%7f", "http://h/a/x%7F"},
            {dir, "x.asp?q=%20%2F", "http://h/a/x.asp?q=%20%2F"},
            {dir, "x.html#%20", "http://h/a/x.html#%20"},
            {dir, "%zz%4", "http://h/a/%zz%4"},
            {dir, "a%20", "http://h/a/a%20"},
            {dir, "%2e%2E/b", "http://h/b"},
        },
        kCanonicalFlags);
}

TEST(UrlCombine, DecodesQueryAndFragmentOutsideBrowserMode) {
    const std::string dir = "http://h/a/";
    expectCombines(
        {
            {dir, "x.asp?q=a%26b%3Dc%2Bd%3Be%20f", "http://h/a/x.asp?q=a%26b%3Dc%2Bd%3Be f"},
            {dir, "x.asp?q=%7E", "http://h/a/x.asp?q=~"},
            {dir, "x.html#sec%20one", "http://h/a/x.html#sec one"},
            {dir, "x.html#a%23b", "http://h/a/x.html#a%23b"},
            {dir, "x.html?q=%20", "http://h/a/x.html?q=%20"},
        },
        url::NoEncode | url::Decode);
}

TEST(UrlCombine, VeryLongAddresses) {
    const std::string longName(20000, 'x');
    std::string climb;
    for (int i = 0; i < 5000; ++i) climb += "../";
    std::string deep = "http://h";
    for (int i = 0; i < 3000; ++i) deep += "/d" + std::to_string(i);
    const std::string longQuery = "?q=" + std::string(30000, 'q');
    expectCombines(
        {
            {"http://h/a/", longName, "http://h/a/" + longName},
            {"http://h/a/b/", climb + "y", "http://h/y"},
            {deep + "/page.html", "x.html", deep + "/x.html"},
            {deep + "/page.html", climb + "top.html", "http://h/top.html"},
            {"http://h/a", longQuery, "http://h/a" + longQuery},
            {"http://h/" + longName + longQuery, "#f", "http://h/" + longName + longQuery + "#f"},
            {"http://H/a/", "%41" + longName + "%20", "http://h/a/A" + longName + "%20"},
        },
        kCanonicalFlags);
}
