#include "filters/Filter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filters/UrlPattern.h"

namespace {

constexpr uint32_t kLinks = 0x3871;
constexpr uint32_t kImages = 0x1810E;
constexpr uint32_t kSimpleChoice = 0x20000;
constexpr uint32_t kHyperlink = 0;
constexpr uint32_t kImage = 1;

std::string entry(uint32_t mask, uint32_t min, uint32_t max, const std::string &expression) {
    return std::to_string(mask) + ";" + std::to_string(min) + ";" + std::to_string(max) + ";" + expression + "\xFF";
}

eng::Filter compiled(const std::string &text) {
    eng::Filter filter;
    filter.parse(text);
    EXPECT_TRUE(filter.compile()) << text;
    return filter;
}

struct RuleSeen {
    uint32_t mask;
    std::string text;
    uint32_t min, max;
    bool operator==(const RuleSeen &) const = default;
};

std::ostream &operator<<(std::ostream &out, const RuleSeen &r) {
    return out << r.mask << ";" << r.min << ";" << r.max << ";" << r.text;
}

std::vector<RuleSeen> rulesOf(const std::string &text) {
    eng::Filter filter;
    filter.parse(text);
    std::vector<RuleSeen> out;
    for (const eng::FilterRule &rule : filter.rules())
        out.push_back({rule.kindMask, rule.text, rule.minSize, rule.maxSize});
    return out;
}

}  // namespace

TEST(FilterPatterns, CompletedUnlessStarredOrWithAKnownScheme) {
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"*.zip", "*.zip"},
        {"docs/*", "*docs/*"},
        {"www.example.com", "*www.example.com"},
        {"http://h/a", "http://h/a"},
        {"HTTPS://h/", "HTTPS://h/"},
        {"https://", "https://"},
        {"ftp://h/f", "ftp://h/f"},
        {"file:///c:/x", "file:///c:/x"},
        {"httpx://h", "httpx://h"},
        {"htt://h", "*htt://h"},
        {"gopher://h", "*gopher://h"},
        {"xhttp://h", "*xhttp://h"},
        {"fileserver://h", "*fileserver://h"},  // "://" past the first eight characters
        {"http:/h", "*http:/h"},
    };
    for (const auto &[pattern, completed] : rows) EXPECT_EQ(eng::completedPattern(pattern), completed) << pattern;
}

TEST(FilterParse, EntriesBecomeRules) {
    // The example entry of the application's filter editor.
    EXPECT_EQ(rulesOf("14449;0;0;*/docs/* and not *.zip\xFF"),
              (std::vector<RuleSeen>{{kLinks, "*/docs/* and not *.zip", 0, 0}}));
    // Lowercased and trimmed; the last entry may lack its end byte.
    EXPECT_EQ(rulesOf(entry(1, 10, 20, " \tHTTP://H/A*  ") + "2;0;0;  B"),
              (std::vector<RuleSeen>{{1, "http://h/a*", 10, 20}, {2, "b", 0, 0}}));
    // Empty digit runs read as 0, an empty expression covers everything.
    EXPECT_EQ(rulesOf(";;;\xFF"
                      "5;;7; \xFF"),
              (std::vector<RuleSeen>{{0, "*", 0, 0}, {5, "*", 0, 7}}));
    EXPECT_TRUE(rulesOf("").empty());
}

TEST(FilterParse, AMissingSemicolonEndsTheParse) {
    const std::string first = entry(1, 0, 0, "a");
    const std::vector<RuleSeen> kept = {{1, "a", 0, 0}};
    EXPECT_EQ(rulesOf(first + "2;0;0\xFF" + entry(4, 0, 0, "c")), kept);
    EXPECT_EQ(rulesOf(first + "2;0\xFF" + entry(4, 0, 0, "c")), kept);
    EXPECT_EQ(rulesOf(first + "2x;0;0;b\xFF"), kept);
    EXPECT_EQ(rulesOf(first + "\xFF" + entry(4, 0, 0, "c")), kept);
    EXPECT_EQ(rulesOf(first + "\r\n"), kept);
}

TEST(FilterParse, RulesOfOneMaskMerge) {
    // A task rule followed by a project rule for the same kinds.
    EXPECT_EQ(rulesOf(entry(kImages, 100, 500, "*.gif") + entry(kImages, 50, 900, "not *banner*")),
              (std::vector<RuleSeen>{{kImages, "( *.gif ) AND ( not *banner* )", 50, 900}}));
    // Equal texts stay as they are; the bounds still widen.
    EXPECT_EQ(rulesOf(entry(kLinks, 10, 0, "*") + entry(kLinks, 0, 30, "*")),
              (std::vector<RuleSeen>{{kLinks, "*", 0, 30}}));
    // Other masks are other rules, even when they cover the same kinds.
    EXPECT_EQ(rulesOf(entry(kLinks, 0, 0, "a") + entry(kLinks | kSimpleChoice, 0, 0, "b") + entry(kLinks, 0, 0, "c")),
              (std::vector<RuleSeen>{{kLinks, "( a ) AND ( c )", 0, 0}, {kLinks | kSimpleChoice, "b", 0, 0}}));
}

TEST(FilterCompile, RulesThatDoNotCompileAreDropped) {
    eng::Filter filter;
    filter.parse(entry(1, 0, 0, "a b") + entry(2, 0, 0, "*.gif") + entry(4, 0, 0, "( x"));
    EXPECT_FALSE(filter.compile());
    ASSERT_EQ(filter.rules().size(), 1u);
    EXPECT_EQ(filter.rules()[0].kindMask, 2u);
    EXPECT_TRUE(filter.compile());
}

TEST(FilterAccept, TheFirstRuleCoveringTheKindDecides) {
    struct Row {
        std::string filter;
        std::string url;
        uint32_t kind;
        bool accepted;
    };
    const std::vector<Row> rows = {
        {"", "http://anything/", kHyperlink, true},
        {entry(kImages, 0, 0, "not *"), "http://h/page.html", kHyperlink, true},
        {entry(kImages, 0, 0, "not *"), "http://h/a.gif", kImage, false},
        {entry(kLinks, 0, 0, "www.example.com"), "http://www.example.com/page", kHyperlink, false},
        {entry(kLinks, 0, 0, "www.example.com"), "http://www.example.com", kHyperlink, true},
        {entry(kLinks, 0, 0, "www.example.com*"), "http://www.example.com/page", kHyperlink, true},
        {entry(kLinks, 0, 0, "http://www.example.com/a"), "http://www.example.com/abc", kHyperlink, true},
        {entry(kLinks, 0, 0, "http://www.example.com/a"), "http://other.com/http://www.example.com/a", kHyperlink,
         false},
        {entry(kLinks, 0, 0, "*/DOCS/*"), "http://h/docs/x", kHyperlink, true},
        {entry(kLinks, 0, 0, "*/docs/*"), "HTTP://H/DOCS/X", kHyperlink, true},
        {entry(kLinks, 0, 0, "*/docs/* and not *.zip"), "http://h/docs/a.zip", kHyperlink, false},
        {entry(kLinks, 0, 0, "*/docs/* and not *.zip"), "http://h/docs/a.pdf", kHyperlink, true},
        {entry(kLinks, 0, 0, "*.gif or *.jpg"), "http://h/a.jpg", kHyperlink, true},
        // Kind 4 is a link kind; kind 32 wraps round to kind 0.
        {entry(kLinks, 0, 0, "not *"), "http://h/", 4, false},
        {entry(kLinks, 0, 0, "not *"), "http://h/", 32, false},
        {entry(kLinks, 0, 0, "not *"), "http://h/", 1, true},
        // The first of two rules that both cover hyperlinks decides.
        {entry(kLinks | kSimpleChoice, 0, 0, "not *") + entry(kLinks, 0, 0, "*"), "http://h/", kHyperlink, false},
        {entry(kLinks, 0, 0, "*") + entry(kLinks | kSimpleChoice, 0, 0, "not *"), "http://h/", kHyperlink, true},
        // No link has kind 17: only the simple-choice rule covers it.
        {entry(kLinks, 0, 0, "*") + entry(kSimpleChoice, 0, 0, "not *"), "http://h/", 17, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.filter + " | " + row.url + " | kind " + std::to_string(row.kind));
        EXPECT_EQ(compiled(row.filter).accept(row.url, row.kind), row.accepted);
    }
}

TEST(FilterAccept, AMergeIntoACompiledFilterWaitsForTheNextCompile) {
    eng::Filter filter = compiled(entry(kLinks, 0, 0, "*"));
    filter.parse(entry(kLinks, 0, 0, "not *.zip"));
    EXPECT_FALSE(filter.accept("http://h/a.html", kHyperlink));
    EXPECT_TRUE(filter.compile());
    EXPECT_TRUE(filter.accept("http://h/a.html", kHyperlink));
    EXPECT_FALSE(filter.accept("http://h/a.zip", kHyperlink));
}

TEST(FilterSizeLimits, TheLastMatchingRuleWithBoundsWins) {
    const eng::Filter filter =
        compiled(entry(kLinks, 10, 100, "*/big/*") + entry(kImages, 0, 0, "*") +
                 entry(kImages | kSimpleChoice, 0, 5000, "*.gif") + entry(0x1, 7, 0, "*/big/*.png"));
    struct Row {
        std::string url;
        uint32_t kind;
        std::optional<eng::SizeLimits> limits;
    };
    const std::vector<Row> rows = {
        {"http://h/big/a.html", kHyperlink, eng::SizeLimits{10, 100}},
        {"http://h/BIG/a.html", kHyperlink, eng::SizeLimits{10, 100}},
        {"http://h/small/a.html", kHyperlink, std::nullopt},
        {"http://h/big/a.png", 4, eng::SizeLimits{10, 100}},
        {"http://h/big/a.png", kHyperlink, eng::SizeLimits{7, 0}},  // a later rule overrides
        {"http://h/a.gif", kImage, eng::SizeLimits{0, 5000}},       // the rule without bounds is passed over
        {"http://h/a.png", kImage, std::nullopt},
        {"http://h/big/a.gif", 7, std::nullopt},  // kind 7 is covered by none of them
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.url + " kind " + std::to_string(row.kind));
        EXPECT_EQ(filter.sizeLimits(row.url, row.kind), row.limits);
    }
    EXPECT_EQ(eng::Filter().sizeLimits("http://h/", kHyperlink), std::nullopt);
}
