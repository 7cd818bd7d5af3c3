#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "support/RunLark.h"
#include "support/TempDir.h"

namespace {

// Three pages mirrored from local files and indexed by lark mirror --index,
// then searched by words, by title and by address, and with queries that do
// not parse or cannot be matched.
class SearchCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
        std::ofstream(dir_.file("index.html"))
            << "<html><title>Start</title><body><a href=\"cats.html\">x</a> <a href=\"cars.html\">y</a></body>";
        std::ofstream(dir_.file("cats.html"))
            << "<html><title>The Cats</title><body>The Cat's 2 <b>dogs</b>&amp;CATS</body>";
        std::ofstream(dir_.file("cars.html")) << "<html><title>Red Cars</title><body>a red car, then a car</body>";
        const auto mirrored =
            test::runLark("mirror file://" + dir_.file("index.html") + " -o " + project_ + " --depth 1 --index");
        ASSERT_EQ(mirrored.status, 0) << mirrored.output;
        ASSERT_TRUE(test::contains(mirrored, "3 bodies indexed")) << mirrored.output;
    }
    void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }

    std::string line(const std::string &page, const std::string &title) const {
        return "file://" + dir_.file(page) + "\t" + title + "\n";
    }
    test::LarkResult search(const std::string &arguments) const {
        return test::runLark("search " + project_ + " " + arguments);
    }

    test::TempDir dir_;
    std::string project_ = dir_.file("p.slk");
};

TEST_F(SearchCommandTest, PrintsAddressAndTitleOfEachResourceFound) {
    EXPECT_EQ(search("cat").output, line("cats.html", "The Cats"));
    EXPECT_EQ(search("'\"red car\" or dogs'").output, line("cats.html", "The Cats") + line("cars.html", "Red Cars"));
    EXPECT_EQ(search("'not cats' --title 'start or red*'").output,
              line("index.html", "Start") + line("cars.html", "Red Cars"));
    EXPECT_EQ(search("--url '*/C*' --max 1").output, line("cats.html", "The Cats"));
    EXPECT_EQ(search("--type 1 --min-size 70 --max-size 80 --done-from 2000-01-01").output,
              line("cats.html", "The Cats"));  // of 90, 74 and 63 bytes
    EXPECT_EQ(search("car --done-to 2000-01-01").output, "");
    EXPECT_EQ(search("car --state 1").output, "");
}

TEST_F(SearchCommandTest, SaysWhereAQueryDoesNotParse) {
    const auto unclosed = search("'red \"car'");
    EXPECT_EQ(unclosed.status, 2);
    EXPECT_EQ(unclosed.output,
              "lark search: the query does not parse: No closing quote at character 6\n  red \"car\n       ^\n");
    const auto noise = search("car --title 'The of'");
    EXPECT_EQ(noise.status, 2);
    EXPECT_TRUE(test::contains(noise, "the title query does not parse: Syntax Error at character 1")) << noise.output;
    // A pattern the database cannot match is the search's failure, with the engine's words.
    const auto pattern = search("'ca[t'");
    EXPECT_EQ(pattern.status, 1);
    EXPECT_TRUE(test::contains(pattern, "The pattern \"ca[t\" has a \"[\" without its \"]\"")) << pattern.output;
    EXPECT_EQ(search("car --done-from 2000-13-01").status, 2);
}

}  // namespace
