#include <gtest/gtest.h>

#include <string>

#include "engine.h"
#include "support/OpenProject.h"
#include "support/UiHostRecorder.h"

namespace {

constexpr int32_t kHyperlink = 0;
constexpr int32_t kImage = 1;
constexpr int32_t kSearchQueryMode = 1;
constexpr int32_t kFilterMode = 2;

std::string linksRule(const std::string &expression) { return "14449;0;0;" + expression + "\xFF"; }

struct Tried {
    int32_t result;
    std::string report;
};

// Eng_TestFilter, with the report taken and released.
Tried tryFilter(const std::string &filter, const std::string &url, int32_t kind = kHyperlink) {
    char *report = nullptr;
    Tried tried{Eng_TestFilter(filter.c_str(), url.c_str(), kind, &report), ""};
    EXPECT_NE(report, nullptr);
    if (report) tried.report = report;
    Eng_FreeMem(report);
    return tried;
}

}  // namespace

TEST(FilterCommands, TestFilterReportsAndDecides) {
    test::OpenProject project;
    ASSERT_EQ(project.openResult(), 0);

    const Tried either = tryFilter(linksRule("*.gif or *.jpg"), "http://h/a.gif");
    EXPECT_EQ(either.result, 1);
    EXPECT_EQ(either.report, " <font color=green> *.gif &nbsp;  </font> or &nbsp;  <font color=red> *.jpg </font> ");
    EXPECT_EQ(tryFilter(linksRule("*.gif or *.jpg"), "http://h/a.png").result, 0);

    // No rule for images: accepted, with an empty report.
    const Tried uncovered = tryFilter(linksRule("not *"), "http://h/a.gif", kImage);
    EXPECT_EQ(uncovered.result, 1);
    EXPECT_EQ(uncovered.report, "");

    // A rule that does not compile is still shown, but takes no part in the decision.
    const Tried broken = tryFilter(linksRule("*.gif *.jpg"), "http://h/a.png");
    EXPECT_EQ(broken.result, 1);
    EXPECT_EQ(broken.report, " <font color=red> *.gif &nbsp;  </font>  <font color=red> *.jpg </font> ");
}

TEST(FilterCommands, ValidateQueryChecksTrimmedFilterExpressions) {
    test::UiHostRecorder ui;
    test::OpenProject project;
    ASSERT_EQ(project.openResult(), 0);
    EXPECT_EQ(Eng_ValidateQuery("  *.gif AND NOT *banner*  ", kFilterMode), 0);
    EXPECT_EQ(Eng_ValidateQuery(" \t ", kFilterMode), -5);
    EXPECT_EQ(Eng_ValidateQuery(nullptr, kFilterMode), -5);
    EXPECT_EQ(Eng_ValidateQuery("(*.gif", kFilterMode), -2);
    EXPECT_EQ(Eng_ValidateQuery("a b", kFilterMode), -6);
    EXPECT_EQ(Eng_ValidateQuery("a b", 3), 0);
    EXPECT_EQ(Eng_ValidateQuery("( ship", kSearchQueryMode), -2);
    // A hostile filter cannot exhaust the engine thread's stack.
    for (const std::string &deep : {std::string(100000, '(') + "x" + std::string(100000, ')'),
                                    [] {
                                        std::string nots;
                                        for (int i = 0; i < 100000; ++i) nots += "not ";
                                        return nots + "x";
                                    }(),
                                    [] {
                                        std::string chain = "x";
                                        for (int i = 0; i < 100000; ++i) chain += " and x";
                                        return chain;
                                    }()})
        EXPECT_EQ(Eng_ValidateQuery(deep.c_str(), kFilterMode), -7);
    EXPECT_EQ(Eng_ValidateQuery((std::string(200, '(') + "x" + std::string(200, ')')).c_str(), kFilterMode), 0);
    EXPECT_TRUE(ui.messages().empty());
}

TEST(FilterCommands, NothingWithoutAProject) {
    char *report = nullptr;
    EXPECT_EQ(Eng_TestFilter(linksRule("*").c_str(), "http://h/", kHyperlink, &report), 0);
    EXPECT_EQ(report, nullptr);
    EXPECT_EQ(Eng_ValidateQuery("a b", kFilterMode), 0);
}
