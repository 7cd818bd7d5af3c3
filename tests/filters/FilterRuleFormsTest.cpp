#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filters/Filter.h"

// The rule forms a user builds in the application, each tried on addresses
// it should take and addresses it should leave.
namespace {

constexpr uint32_t kLinks = 0x3871, kImages = 0x1810E, kEmbedded = 0x680, kDynamic = 0x4000;
constexpr uint32_t kOnlyFrom = 0x23871;  // "Retrieve only from:" for links
enum Kind : uint32_t {
    Hyperlink = 0,
    Img = 1,
    BodyBackground = 2,
    Frame = 4,
    Script = 6,
    Sound = 7,
    Embed = 9,
    Applet = 10,
    Stylesheet = 11,
    Refresh = 12,
    Browsed = 14
};

std::string rule(uint32_t mask, const std::string &expression) {
    return std::to_string(mask) + ";0;0;" + expression + eng::Filter::kEntryEnd;
}

struct Case {
    std::string filter;
    const char *url;
    uint32_t kind;
    bool accepted;
};

}  // namespace

TEST(FilterRuleForms, AcceptAndRefuseWhatTheUserMeant) {
    const std::string site = rule(kOnlyFrom, "http://www.example.com/*");
    const std::string directory = rule(kLinks, "http://www.example.com/docs/*");
    const std::string noArchives = rule(kLinks, "not *.zip and not *.exe and not *.iso");
    const std::string pagesOnly = rule(kLinks, "*.html or *.htm or */");
    const std::string noImages = rule(kImages, "not *");
    const std::string gifsNoBanners = rule(kImages, "*.gif and not *banner*");
    const std::string noEmbedded = rule(kEmbedded, "not *");
    const std::string noDynamic = rule(kDynamic, "not *");
    const std::string hostAnywhere = rule(kLinks, "example.com*");
    const std::string grouped = rule(kLinks, "( */a/* or */b/* ) and not ( *.pdf or *.ps )");
    const std::string ftpOnly = rule(kLinks, "ftp://ftp.example.com/pub/*");
    // "?" stands for any one character, so "not *?*" would refuse every address.
    const std::string query = rule(kLinks, "not *?*");
    const std::string noScripts = rule(kLinks, "not *.php*");
    const std::vector<Case> cases = {
        {site, "http://www.example.com/", Hyperlink, true},
        {site, "http://www.example.com/a/b.html", Hyperlink, true},
        {site, "http://WWW.EXAMPLE.COM/Page.HTML", Hyperlink, true},
        {site, "http://example.com/", Hyperlink, false},
        {site, "https://www.example.com/", Hyperlink, false},
        {site, "http://www.example.com.evil.net/", Hyperlink, false},
        {site, "http://evil.net/http://www.example.com/", Hyperlink, false},
        {site, "http://elsewhere.org/logo.gif", Img, true},  // images are not links
        {site, "http://elsewhere.org/frame.html", Frame, false},
        {site, "http://elsewhere.org/style.css", Stylesheet, false},
        {site, "http://elsewhere.org/", Refresh, false},
        {directory, "http://www.example.com/docs/", Hyperlink, true},
        {directory, "http://www.example.com/docs/api/x.html", Hyperlink, true},
        {directory, "http://www.example.com/doc/", Hyperlink, false},
        {directory, "http://www.example.com/", Hyperlink, false},
        {noArchives, "http://h/file.zip", Hyperlink, false},
        {noArchives, "http://h/setup.EXE", Hyperlink, false},
        {noArchives, "http://h/disc.iso", Hyperlink, false},
        {noArchives, "http://h/file.zip.html", Hyperlink, true},
        {noArchives, "http://h/readme.txt", Hyperlink, true},
        {pagesOnly, "http://h/a.html", Hyperlink, true},
        {pagesOnly, "http://h/a.htm", Hyperlink, true},
        {pagesOnly, "http://h/dir/", Hyperlink, true},
        {pagesOnly, "http://h/a.php", Hyperlink, false},
        {pagesOnly, "http://h/a.pdf", Hyperlink, false},
        {noImages, "http://h/a.gif", Img, false},
        {noImages, "http://h/bg.jpg", BodyBackground, false},
        {noImages, "http://h/a.html", Hyperlink, true},
        {noImages, "http://h/s.js", Script, true},
        {gifsNoBanners, "http://h/logo.gif", Img, true},
        {gifsNoBanners, "http://h/ads/banner1.gif", Img, false},
        {gifsNoBanners, "http://h/photo.jpg", Img, false},
        {gifsNoBanners, "http://h/BANNER.gif", Img, false},
        {noEmbedded, "http://h/tune.mid", Sound, false},
        {noEmbedded, "http://h/movie.swf", Embed, false},
        {noEmbedded, "http://h/Applet.class", Applet, false},
        {noEmbedded, "http://h/a.gif", Img, true},
        {noDynamic, "http://h/ajax?id=1", Browsed, false},
        {noDynamic, "http://h/a.html", Hyperlink, true},
        {hostAnywhere, "http://example.com", Hyperlink, true},
        {hostAnywhere, "http://example.com/deep/page", Hyperlink, true},
        {hostAnywhere, "http://www.example.com/", Hyperlink, true},
        {hostAnywhere, "http://other.org/", Hyperlink, false},
        {grouped, "http://h/a/doc.html", Hyperlink, true},
        {grouped, "http://h/b/doc.html", Hyperlink, true},
        {grouped, "http://h/c/doc.html", Hyperlink, false},
        {grouped, "http://h/a/doc.pdf", Hyperlink, false},
        {grouped, "http://h/b/doc.ps", Hyperlink, false},
        {ftpOnly, "ftp://ftp.example.com/pub/file.tar.gz", Hyperlink, true},
        {ftpOnly, "ftp://ftp.example.com/private/x", Hyperlink, false},
        {ftpOnly, "http://ftp.example.com/pub/file.tar.gz", Hyperlink, false},
        {query, "http://h/page.html", Hyperlink, false},
        {noScripts, "http://h/page.html", Hyperlink, true},
        {noScripts, "http://h/page.php?id=3", Hyperlink, false},
        {site + noImages, "http://www.example.com/a.gif", Img, false},
        {site + noImages, "http://www.example.com/a.html", Hyperlink, true},
        {site + noArchives, "http://www.example.com/a.zip", Hyperlink, true},  // the first covering rule decides
        {noArchives + site, "http://elsewhere.org/a.html", Hyperlink, true},
        {noArchives + rule(kLinks, "*/docs/*"), "http://h/docs/a.zip", Hyperlink, false},  // merged: both must hold
        {noArchives + rule(kLinks, "*/docs/*"), "http://h/other/a.txt", Hyperlink, false},
        {noArchives + rule(kLinks, "*/docs/*"), "http://h/docs/a.txt", Hyperlink, true},
        {rule(kLinks, "file:///home/*"), "file:///home/user/a.html", Hyperlink, true},
        {rule(kLinks, "file:///home/*"), "file:///etc/passwd", Hyperlink, false},
    };
    for (const Case &c : cases) {
        eng::Filter filter;
        filter.parse(c.filter);
        ASSERT_TRUE(filter.compile()) << c.filter;
        EXPECT_EQ(filter.accept(c.url, c.kind), c.accepted) << c.filter << " | " << c.url << " | kind " << c.kind;
    }
}
