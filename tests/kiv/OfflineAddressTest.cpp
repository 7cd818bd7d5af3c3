#include "OfflineAddress.h"

#include <gtest/gtest.h>

#include "base/UrlHash.h"

namespace {

std::string key(std::string_view address) { return std::to_string(static_cast<int32_t>(eng::urlHash(address))); }

TEST(OfflineAddress, ParsesItsFieldsAndNormalisesTheAddress) {
    const auto parsed = kiv::OfflineAddress::parse("kiv:-5:9-12-2026-10%2D00-00:3:HTTP://Host/a/../b.html#frag");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->referrerKey, -5);
    EXPECT_EQ(parsed->dateText, "9-12-2026-10-00-00");
    EXPECT_EQ(parsed->task, 3u);
    EXPECT_EQ(parsed->address, "http://host/b.html");

    const auto colons = kiv::OfflineAddress::parse("kiv:0:d:0:http://h:8080/a?x=1:2");
    ASSERT_TRUE(colons);
    EXPECT_EQ(colons->address, "http://h:8080/a?x=1:2");
    EXPECT_TRUE(kiv::OfflineAddress::parse("kiv:0:d:0"));  // no address: an empty one

    for (const char *invalid : {"KIV:0:d:0:http://h/", "Kiv:0:d:0:http://h/", "kiv:0:d", "kiv:", "http://h/"})
        EXPECT_FALSE(kiv::OfflineAddress::parse(invalid)) << invalid;
}

class CombineUrl : public ::testing::Test {
protected:
    std::string combine(std::string_view relative, std::string_view base = "kiv:7:d-1:3:http://h/a/b.html") {
        return kiv::OfflineAddressBuilder::combine(base, relative, bases).value_or("(failed)");
    }
    kiv::BaseMap bases;
    const std::string pageKey = key("http://h/a/b.html");
};

TEST_F(CombineUrl, RelativeLinksBecomeOfflineAddressesKeyedByTheirPage) {
    EXPECT_EQ(combine("c.html"), "kiv:" + pageKey + ":d-1:3:http://h/a/c.html");
    EXPECT_EQ(combine("../y.html"), "kiv:" + pageKey + ":d-1:3:http://h/y.html");
    EXPECT_EQ(combine("/root.html"), "kiv:" + pageKey + ":d-1:3:http://h/root.html");
    EXPECT_EQ(combine("//other/p.html"), "kiv:" + pageKey + ":d-1:3:http://other/p.html");
    EXPECT_EQ(combine("?q=1"), "kiv:" + pageKey + ":d-1:3:http://h/a/b.html?q=1");
    EXPECT_EQ(combine("http://other/x y.html"), "kiv:" + pageKey + ":d-1:3:http://other/x%20y.html");
}

TEST_F(CombineUrl, FragmentsOtherSchemesAndEmptyLinks) {
    // A fragment before any query is cut and put back after combining; one
    // after the query stays inside the address.
    EXPECT_EQ(combine("c.html#part"), "kiv:" + pageKey + ":d-1:3:http://h/a/c.html#part");
    EXPECT_EQ(combine("#top"), "kiv:7:d-1:3:http://h/a/b.html#top");
    EXPECT_EQ(combine(""), "kiv:7:d-1:3:http://h/a/b.html");
    EXPECT_NE(combine("c.html?q=1#x").find("c.html?q=1#x"), std::string::npos);
    EXPECT_EQ(combine("javascript:void(window.open('x.html'))"), "javascript:void(window.open('x.html'))");
    EXPECT_EQ(combine("mailto:someone@example.com"), "mailto:someone@example.com");
    EXPECT_EQ(combine("c.html", "KIV:7:d-1:3:http://h/a/b.html"), "(failed)");
}

TEST_F(CombineUrl, LinksAgainstABaseAreKeyedByThePageThatDeclaredIt) {
    bases.set("http://cdn.example/base/", "http://h/a/b.html");
    EXPECT_EQ(combine("img.png", "kiv:7:d-1:3:http://cdn.example/base/"),
              "kiv:" + pageKey + ":d-1:3:http://cdn.example/base/img.png");
    // The base's own address takes the declaring page's key too.
    const auto request = kiv::OfflineAddress::parse("kiv:7:d-1:3:http://h/a/b.html");
    ASSERT_TRUE(request);
    const kiv::OfflineAddressBuilder builder(*request, bases);
    EXPECT_EQ(builder.ownForm("http://cdn.example/base/"), "kiv:" + pageKey + ":d-1:3:http://cdn.example/base/");
    EXPECT_EQ(builder.ownForm("http://h/other.html"), "kiv:7:d-1:3:http://h/other.html");
}

}  // namespace
