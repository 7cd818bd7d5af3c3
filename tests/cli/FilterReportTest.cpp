#include "FilterReport.h"

#include <gtest/gtest.h>

using lark::readableFilterReport;

// The reports below are as the engine writes them for the expressions named.
TEST(ReadableFilterReport, MarksPatternsAndMovesBlanksOutOfTheMarks) {
    // "*.gif or *.jpg" tried on a .gif address
    EXPECT_EQ(
        readableFilterReport(" <font color=green> *.gif &nbsp;  </font> or &nbsp;  <font color=red> *.jpg </font> "),
        "[+*.gif] or [-*.jpg]");
    // "not  *.zip" (two blanks) tried on a page
    EXPECT_EQ(readableFilterReport("not <font color=red>  &nbsp;  &nbsp; *.zip </font> "), "not  [-*.zip]");
}

TEST(ReadableFilterReport, KeepsTabsAndLineBreaks) {
    // "*.gif\r\nor\t*.jpg": the break stands for the CR LF, the raw line feed after it goes
    EXPECT_EQ(
        readableFilterReport(" <font color=green> *.gif </font>  <br> \nor <font color=red>  &nbsp;&nbsp;&nbsp;&nbsp; "
                             "*.jpg </font> "),
        "[+*.gif]\nor\t[-*.jpg]");
    // "a\nb": a lone line feed is a blank in HTML, and stays one
    EXPECT_EQ(readableFilterReport(" <font color=green> a </font>  <font color=red> \nb </font> "), "[+a] [-b]");
}
