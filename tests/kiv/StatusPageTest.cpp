#include "StatusPage.h"

#include <gtest/gtest.h>

namespace {

size_t count(const std::string &text, const std::string &part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

const std::string kHeadEnd = "<h1 style=\"COLOR: black; FONT: 13pt/15pt verdana\">\n";

TEST(StatusPage, TheQueuedPageOffersToRemoveItsResource) {
    const std::string page = kiv::statusPage(4, 1234, "http://example.com/");
    EXPECT_EQ(page.rfind("<html>\n<head>\n<style>\na:link     {font:8pt/11pt verdana; color:red}\n", 0), 0u);
    EXPECT_NE(page.find("function GoOnline()\n{\n\twindow.external.GoOnline();\n\twindow.location.reload();\n}\n"),
              std::string::npos);
    EXPECT_NE(page.find(kHeadEnd + "The page is queued</td></tr>"), std::string::npos);
    EXPECT_NE(page.find("<li>\nIf you do not want to download the page, you can <a "
                        "href=\"javascript:window.external.DeleteItem(1234)\">remove it</a> from the queue.</td>"),
              std::string::npos);
    EXPECT_EQ(count(page, "<li>"), 2u);
    EXPECT_TRUE(page.ends_with("</td></tr>\n</table></body>\n</html>"));
}

TEST(StatusPage, PagesWithoutSuggestionsHaveNoSuggestionBlock) {
    const std::string page = kiv::statusPage(1, 0, "");
    EXPECT_NE(
        page.find(kHeadEnd + "Invalid URL</td></tr><tr><td><font style=\"COLOR: black; FONT: 8pt/11pt "
                             "verdana\">\nPlease verify that specified URL exists and is correct.</font></td></tr>"
                             "\n</table></body>\n</html>"),
        std::string::npos);
    EXPECT_EQ(page.find("Please try the following:"), std::string::npos);
    EXPECT_EQ(count(kiv::statusPage(8, 0, ""), "<li>"), 3u);
    EXPECT_EQ(count(kiv::statusPage(3, 0, ""), "<li>"), 2u);
}

TEST(StatusPage, TheNotAcceptedPageNamesTheAddressAsText) {
    const std::string plain = kiv::statusPage(5, 0, "http://example.com/a?b=1");
    EXPECT_NE(plain.find("not accepted by project filters. The URL of the page: http://example.com/a?b=1</font>"),
              std::string::npos);
    // An address carrying markup must not become markup in a page that can
    // reach the application's scripting object.
    const std::string hostile =
        kiv::statusPage(5, 0, "http://x/\"><script>window.external.DeleteItem(1)</script>&amp;");
    EXPECT_EQ(hostile.find("<script>window.external.DeleteItem"), std::string::npos);
    EXPECT_NE(hostile.find("The URL of the page: http://x/&quot;&gt;&lt;script&gt;window.external.DeleteItem(1)&lt;"
                           "/script&gt;&amp;amp;</font>"),
              std::string::npos);
}

TEST(StatusPage, AnUnknownKindSaysUnknownErrorAndNothingElse) {
    for (const int32_t kind : {0, 9, -1}) {
        const std::string page = kiv::statusPage(kind, 7, "http://example.com/");
        EXPECT_NE(page.find(kHeadEnd + "Unknown error</td></tr><tr><td><font style=\"COLOR: black; FONT: 8pt/11pt "
                                       "verdana\">\n</font></td></tr>\n</table></body>\n</html>"),
                  std::string::npos)
            << kind;
    }
}

}  // namespace
