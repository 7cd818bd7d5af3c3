#include "OfflineAddressText.h"

#include <gtest/gtest.h>

#include "AddressNormalisation.h"
#include "FragmentLinks.h"

namespace {

TEST(OfflineAddressTextTest, AnAddressIsWrappedWithItsStampAndNumberAndReadBack) {
    const QDateTime stamp(QDate(2026, 3, 7), QTime(9, 5, 4));
    const QString offline = offlineAddress("http://h/a:b/c.html?x=1", 42, stamp);
    EXPECT_EQ(offline, "kiv:0:07-03-2026-09-05-04:42:http://h/a:b/c.html?x=1");
    EXPECT_TRUE(isOfflineAddress(offline));
    EXPECT_EQ(wrappedAddress(offline), "http://h/a:b/c.html?x=1");
    EXPECT_EQ(offlineNumber(offline), 42u);
    EXPECT_EQ(offlineStamp(offline), stamp);
}

TEST(OfflineAddressTextTest, OtherTextsAreNoOfflineAddresses) {
    for (const char *text : {"http://h/", "kiv:0:1", "about:blank", "qzinfo://taskinfo/3", ""}) {
        EXPECT_FALSE(isOfflineAddress(text)) << text;
        EXPECT_EQ(wrappedAddress(text), text);
        EXPECT_EQ(offlineNumber(text), 0u);
    }
    EXPECT_TRUE(isOfflineAddress("KIV:0:x:7:http://h/"));
}

TEST(OfflineAddressTextTest, AnActionAddressWrapsTheTextUpToTheFirstAmpersand) {
    EXPECT_EQ(wrappedAddress("kiv:ACTION=http://h/p?a=1&b=2"), "http://h/p?a=1");
    EXPECT_EQ(wrappedAddress("kiv:ACTION=http://h/p"), "http://h/p");
}

TEST(FragmentLinksTest, LinksAreResolvedPrefixedAndEachKeptOnceInOrder) {
    const QString document = "kiv:0:01-01-2026-00-00-00:3:http://h/dir/page.html";
    const QStringList links = fragmentLinks(
        document,
        R"(<p><a href="b.html">b</a> <A HREF="/root.html">r</A> <a href="b.html">again</a>)"
        R"(<abbr href="no.html">x</abbr><area href="c.html"><a name="x">no href</a><a href='../up.html?x=1'>u</a>)"
        R"( <a href=b.html>3</a></p>)");
    const QString prefix = "kiv:0:01-01-2026-00-00-00:3:";
    EXPECT_EQ(links, QStringList({prefix + "http://h/dir/b.html", prefix + "http://h/root.html",
                                  prefix + "http://h/up.html?x=1"}));
}

TEST(AddressNormalisationTest, TypedTextsBecomeAddressesOfTheFourSchemesOnly) {
    EXPECT_EQ(normalisedAddress("www.example.com"), "http://www.example.com/");
    EXPECT_EQ(normalisedAddress("  HTTP://Example.COM/a/../b.html "), "http://example.com/b.html");
    EXPECT_EQ(normalisedAddress("ftp://h/pub/"), "ftp://h/pub/");
    EXPECT_EQ(normalisedAddress("https://h:8443/x"), "https://h:8443/x");
    for (const char *text :
         {"about:blank", "qzinfo://taskinfo/1", "http:///", "HTTP:///x", "mailto:a@b", "javascript:x()"})
        EXPECT_TRUE(normalisedAddress(text).isEmpty()) << text;
}

TEST(AddressNormalisationTest, AHostWithAPortTypedWithoutSchemeIsAWebAddress) {
    EXPECT_EQ(normalisedAddress("example.org:8080/path"), "http://example.org:8080/path");
    EXPECT_EQ(normalisedAddress(" localhost:8080 "), "http://localhost:8080/");
    EXPECT_EQ(normalisedAddress("intranet:81?q=1"), "http://intranet:81/?q=1");
    EXPECT_EQ(normalisedAddress("example.org:80/"), "http://example.org/");
    EXPECT_EQ(normalisedAddress("[::1]:8080/x"), "http://[::1]:8080/x");
    EXPECT_EQ(normalisedAddress("user@host/a"), "http://user@host/a");
    EXPECT_EQ(normalisedAddress("file:///tmp/a.html"), "file:///tmp/a.html");
    EXPECT_EQ(normalisedAddress("HTTPS://Example.org:8443"), "https://example.org:8443/");
    // Schemes stay schemes, and a port too large is no port.
    for (const char *text : {"mailto:123", "tel:5551234", "news:1234", "kiv:0:01-01-2026-00-00-00:0:http://h/",
                             "example.org:99999/", "example.org:80x/"})
        EXPECT_TRUE(normalisedAddress(text).isEmpty()) << text;
}

}  // namespace
