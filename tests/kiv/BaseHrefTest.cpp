#include "BaseHref.h"

#include <gtest/gtest.h>

#include "OfflineAddress.h"
#include "base/UrlHash.h"

namespace {

std::string hrefOf(std::string_view page) {
    const auto found = kiv::findBaseHref(page);
    return found ? found->value : "(none)";
}

TEST(BaseHref, FindsTheFirstBaseWithAnHrefInEveryWriting) {
    EXPECT_EQ(hrefOf("<html><HEAD><BASE HREF=\"http://cdn/x/\"></HEAD>"), "http://cdn/x/");
    EXPECT_EQ(hrefOf("<base target=_top><base href = 'http://a/b/'>"), "http://a/b/");
    EXPECT_EQ(hrefOf("<Base href=http://plain/ target=_top>"), "http://plain/");
    EXPECT_EQ(hrefOf("<base href=\"http://open/"), "http://open/");
    EXPECT_EQ(hrefOf("<!-- <base href=\"http://commented/\"> -->"), "http://commented/");  // comments count
    EXPECT_EQ(hrefOf("<basefont size=3><p>no base</p>"), "(none)");
    EXPECT_EQ(hrefOf("<bas"), "(none)");
}

TEST(BaseHref, TheBaseBecomesAnOfflineAddressKeyedByItsPage) {
    kiv::BaseMap bases;
    const auto request = kiv::OfflineAddress::parse("kiv:7:d:2:http://h/page.html");
    ASSERT_TRUE(request);
    const kiv::OfflineAddressBuilder builder(*request, bases);
    const std::string page = "<html><head><base href=\"http://cdn/assets/\"></head><img src=\"a.png\"></html>";
    const std::string key = std::to_string(static_cast<int32_t>(eng::urlHash("http://h/page.html")));
    EXPECT_EQ(kiv::withOfflineBase(page, "http://h/page.html", builder, bases).page,
              "<html><head><base href=\"kiv:" + key + ":d:2:http://cdn/assets/\"></head><img src=\"a.png\"></html>");
    // Links combined against that base now carry the page's key.
    EXPECT_EQ(kiv::OfflineAddressBuilder::combine("kiv:0:d:2:http://cdn/assets/", "a.png", bases),
              "kiv:" + key + ":d:2:http://cdn/assets/a.png");
    EXPECT_EQ(kiv::withOfflineBase("<p>plain</p>", "http://h/p.html", builder, bases).page, "<p>plain</p>");
    EXPECT_EQ(kiv::withOfflineBase("<p>plain</p>", "http://h/p.html", builder, bases).base, "");

    // A relative base names an address from the page, which it then stands for.
    EXPECT_EQ(kiv::withOfflineBase("<base href=\"../up/\">", "http://h/a/page.html", builder, bases).page,
              "<base href=\"kiv:" + std::to_string(static_cast<int32_t>(eng::urlHash("http://h/a/page.html"))) +
                  ":d:2:http://h/up/\">");
}

}  // namespace
