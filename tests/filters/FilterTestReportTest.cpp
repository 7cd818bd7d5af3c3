#include "filters/FilterTestReport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr uint32_t kLinks = 0x3871;
constexpr uint32_t kHyperlink = 0;

const std::string kGreen = " <font color=green> ";
const std::string kRed = " <font color=red> ";
const std::string kEnd = " </font> ";
const std::string kBlank = " &nbsp; ";

std::string reportFor(const std::string &expression, const std::string &url, uint32_t kind = kHyperlink) {
    eng::Filter filter;
    filter.parse(std::to_string(kLinks) + ";0;0;" + expression + "\xFF");
    return eng::filterTestReport(filter, url, kind);
}

}  // namespace

TEST(FilterTestReport, PatternsColouredOperatorsPlain) {
    EXPECT_EQ(reportFor("*.gif or *.jpg", "http://h/a.gif"),
              kGreen + "*.gif" + kBlank + kEnd + "or" + kBlank + kRed + "*.jpg" + kEnd);
    EXPECT_EQ(reportFor("*.GIF", "http://h/a.gif"), kGreen + "*.gif" + kEnd);
}

TEST(FilterTestReport, NoRuleForTheKindGivesNothing) { EXPECT_EQ(reportFor("*", "http://h/", 1), ""); }

TEST(FilterTestReport, WhiteSpaceMadeVisible) {
    // Each token carries the white space before it and the one character
    // after it; a CR is a line break only when an LF follows it.
    EXPECT_EQ(reportFor("(*.gif or\r\nx)\tand  not y", "http://h/a.gif"),
              "(" + kGreen + "*.gif" + kBlank + kEnd + "or <br> " + kRed + "\nx" + kEnd + ")" +
                  " &nbsp;&nbsp;&nbsp;&nbsp; " + "and" + kBlank + kBlank + "not" + kBlank + kRed + "y" + kEnd);
    EXPECT_EQ(reportFor("a\rb", "b"), kRed + "a\r" + kEnd + kGreen + "b" + kEnd);
}

TEST(FilterTestReport, ColoursCompareThePatternAsWrittenWithTheUrlAsGiven) {
    // Not completed with a leading "*": red, though the filter accepts it.
    EXPECT_EQ(reportFor("docs/*", "http://h/docs/a"), kRed + "docs/*" + kEnd);
    EXPECT_EQ(reportFor("http://h/docs/", "http://h/docs/a"), kGreen + "http://h/docs/" + kEnd);
    // Capitals in the URL are kept: red, though the decision lowercases it.
    EXPECT_EQ(reportFor("*.gif", "http://h/A.GIF"), kRed + "*.gif" + kEnd);
}

TEST(FilterTestReport, MarkupInThePatternsIsShownAsText) {
    EXPECT_EQ(reportFor("*<script>* or *&amp;*", "http://h/&amp;"),
              kRed + "*&lt;script&gt;*" + kBlank + kEnd + "or" + kBlank + kGreen + "*&amp;amp;*" + kEnd);
}
