#include "base/WildcardMatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(WildcardMatch, PatternsAgainstTexts) {
    struct Row {
        std::string text;
        std::string pattern;
        bool matches;
    };
    const std::vector<Row> rows = {
        {"abc", "abc", true},
        {"abcdef", "abc", true},
        {"ab", "abc", false},
        {"", "", true},
        {"anything", "", true},
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"ABC", "abc", false},
        {"http://h/x.gif", "*.gif", true},
        {"http://h/x.gif?y", "*.gif", false},
        {"http://h/banner/x", "*banner*", true},
        {"http://h/x", "*banner*", false},
        {"abc", "*", true},
        {"", "*", true},
        {"", "?", false},
        {"abc", "a*", true},
        {"abc", "a*c", true},
        {"abcbc", "a*bc", true},
        {"abcbd", "a*bc", false},
        {"aXbYc", "a*b*c", true},
        {"abc", "a*d", false},
        {"ab", "ab*", true},
        {"a", "ab*", false},
        {"abxxbc", "*b?c", false},
        {"abxbxc", "*b?c", true},
        {"mississippi", "*sip*", true},
        {"mississippi", "m*iss*ppi", true},
        {"mississippi", "m*iss*ppx", false},
        {"aaa", "a**a", true},
        {"a", "a**a", false},
        {"http://www.example.com/a/b.html", "http://*.example.com/*/b.*", true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE("\"" + row.text + "\" against \"" + row.pattern + "\"");
        EXPECT_EQ(eng::wildcardMatch(row.text, row.pattern), row.matches);
    }
}
