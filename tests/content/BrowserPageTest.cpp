#include "content/BrowserPage.h"

#include <gtest/gtest.h>

#include "base/HtmlScanner.h"

namespace {

TEST(BrowserPage, AKnownSingleByteCharsetIsDeliveredAsUtf8AndSaysSo) {
    // KOI8-R E1 is the capital A of the Cyrillic alphabet (U+0410).
    const auto koi =
        eng::browserPage("text/html; charset=koi8-r",
                         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\xE1");
    EXPECT_EQ(koi.contentType, "text/html; charset=utf-8");
    EXPECT_TRUE(koi.body.ends_with("\xD0\x90")) << koi.body;

    // Without a header charset the page's META decides, in either form.
    EXPECT_EQ(eng::browserPage("text/html", "<meta charset=\"windows-1251\">\xC0").body,
              "<meta charset=\"windows-1251\">\xD0\x90");
    EXPECT_EQ(eng::browserPage("text/html", "<meta http-equiv=content-type content=\"text/html; charset=koi8-r\">\xE1")
                  .contentType,
              "text/html; charset=utf-8");
}

TEST(BrowserPage, OtherBodiesGoAsStored) {
    // A charset the engine does not recode is left to the browser.
    const auto japanese = eng::browserPage("text/html; charset=shift_jis", "\x82\xA0");
    EXPECT_EQ(japanese.contentType, "text/html; charset=shift_jis");
    EXPECT_EQ(japanese.body, "\x82\xA0");
    EXPECT_EQ(eng::browserPage("text/html", "<p>\xE1</p>").contentType, "text/html");  // declares nothing
    EXPECT_EQ(eng::browserPage("text/html; charset=UTF-8", "\xE1").body, "\xE1");
    // Names match exactly: "Windows-1251" is none of the engine's.
    EXPECT_EQ(eng::browserPage("text/html; charset=Windows-1251", "\xC0").body, "\xC0");

    EXPECT_EQ(eng::browserPage("", "x").contentType, "text/html");
    EXPECT_EQ(eng::browserPage("n/a", "x").contentType, "text/html");
    const auto css = eng::browserPage("text/css; charset=koi8-r", "\xE1");
    EXPECT_EQ(css.contentType, "text/css; charset=koi8-r");
    EXPECT_EQ(css.body, "\xE1");
}

TEST(RefreshDelay, TheSecondsTheFirstRefreshWaits) {
    EXPECT_EQ(eng::refreshDelay("<meta http-equiv=\"refresh\" content=\"5;URL=next.html\">"), 5u);
    EXPECT_EQ(eng::refreshDelay("<META HTTP-EQUIV=Refresh CONTENT=\" 0; url=next.html\">"), 0u);
    EXPECT_EQ(eng::refreshDelay("<meta http-equiv=\"refresh\" content=\"url=next.html\">"), 0u);
    EXPECT_EQ(eng::refreshDelay("<html><body>no refresh</body></html>"), std::nullopt);
}

TEST(RefreshDelay, TheTargetSpotIsFoundAfterTheDelayEvenWhenTheyReadAlike) {
    const std::string page = "<meta http-equiv=\"refresh\" content=\"5; url=5\">";
    const auto found = eng::extractLinks("http://h/", page);
    ASSERT_EQ(found.spots.size(), 1u);
    EXPECT_EQ(found.spots[0].offset, page.rfind('5'));
}

}  // namespace
