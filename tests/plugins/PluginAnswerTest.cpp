#include "plugins/PluginAnswer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using eng::Link;

namespace {

using namespace std::string_literals;

// The links after the answer's, one "kind URL [post data]" per line.
std::string linksOf(const std::string &answer, std::vector<Link> links = {}) {
    eng::addAnswerLinks(answer, links);
    std::string text;
    for (const Link &link : links)
        text += std::to_string(link.kind) + " " + link.url + (link.formData.empty() ? "" : " [" + link.formData + "]") +
                "\n";
    return text;
}

}  // namespace

// Each record gives a link: its URL canonicalised with the fragment cut,
// its post data as written, its kind byte as it is, even outside the kinds
// the scanner knows; a URL that is not an address the engine fetches is
// skipped.
TEST(PluginAnswer, ReadsEachRecordAsALink) {
    EXPECT_EQ(linksOf("HTTP://Host.test/a/../b.html#top\0\0\x01"
                      "mailto:x@y.test\0\0\0"
                      "\0\0\0"
                      "http://host.test/form\0q=1&r=2\0\xc8"s),
              "1 http://host.test/b.html\n"
              "200 http://host.test/form [q=1&r=2]\n");
}

// The answer is read only within its size: a record without its kind byte,
// its post data's end or its URL's end ends the reading before it.
TEST(PluginAnswer, ACutLastRecordEndsTheReading) {
    const std::string whole = "http://h.test/1\0\0\0"s;
    for (const std::string &cut :
         {"http://h.test/2\0p\0"s, "http://h.test/2\0p"s, "http://h.test/2\0"s, "http://h.test/2"s}) {
        EXPECT_EQ(linksOf(whole + cut), "0 http://h.test/1\n") << cut;
    }
    EXPECT_EQ(linksOf(""), "");
}

// A link is not added twice with the same kind, URL and post data, nor when
// the scanner found it already; post data or another kind make another link.
TEST(PluginAnswer, AddsOnlyLinksTheListDoesNotHold) {
    EXPECT_EQ(linksOf("http://h.test/a\0\0\0"
                      "http://h.test/a#again\0\0\0"
                      "http://h.test/a\0q=1\0\0"
                      "http://h.test/a\0q=1\0\0"
                      "http://h.test/a\0\0\x06"
                      "http://h.test/b\0\0\0"s,
                      {Link{0, "http://h.test/a", ""}}),
              "0 http://h.test/a\n"
              "0 http://h.test/a [q=1]\n"
              "6 http://h.test/a\n"
              "0 http://h.test/b\n");
}
