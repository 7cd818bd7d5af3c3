#include <gtest/gtest.h>

#include "AddressNormalisation.h"
#include "FragmentLinks.h"
#include "OfflineAddressText.h"

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

}  // namespace
