#include "search/QueryParser.h"

#include <gtest/gtest.h>

#include <string>

#include "base/EngineException.h"
#include "search/GlobPattern.h"

namespace {

using eng::ExprNode;

const eng::WordSplitter kWords({"the", "s", "2", "and", "of"});

// The tree written back as text: words as they stand, AND as "&", OR as "|",
// NOT as "!", groups in "()" and phrases in "[]".
std::string shape(const ExprNode &n) {
    switch (n.kind) {
        case ExprNode::Kind::Operand:
            return n.text;
        case ExprNode::Kind::Not:
            return "!" + shape(*n.left);
        case ExprNode::Kind::And:
            return "(" + shape(*n.left) + " & " + shape(*n.right) + ")";
        case ExprNode::Kind::Or:
            return "(" + shape(*n.left) + " | " + shape(*n.right) + ")";
        case ExprNode::Kind::Group:
            return "(" + shape(*n.left) + ")";
        case ExprNode::Kind::Phrase:
            return "[" + shape(*n.left) + "]";
    }
    return "?";
}

std::string parsed(std::string_view text) {
    const eng::ParsedQuery q = eng::parseSearchQuery(text, kWords);
    return q.tree ? shape(*q.tree) : "error " + std::to_string(q.error) + " at " + std::to_string(q.position);
}

TEST(QueryParser, WordsPhrasesAndOperators) {
    // Lowercased, noise words gone in any letter case, an implied AND between words.
    EXPECT_EQ(parsed("The CAT dogs"), "(cat & dogs)");
    EXPECT_EQ(parsed("\"red car\""), "[(red & car)]");
    // Either quote closes a phrase; inside it "or" and "not" are words, and "and" a noise word.
    EXPECT_EQ(parsed("\"Red OR not and car' boat"), "([(((red & or) & not) & car)] & boat)");
    EXPECT_EQ(parsed("a \"b c\" \"d\" e"), "(((a & [(b & c)]) & [d]) & e)");
    // Parentheses inside a phrase are left out, as the index leaves them out of words.
    EXPECT_EQ(parsed("\"red (car)\""), "[(red & car)]");
    EXPECT_EQ(parsed("a or b c and not d"), "(a | ((b & c) & !d))");
    EXPECT_EQ(parsed("not not ship"), "!!ship");
    EXPECT_EQ(parsed("(a or b) and (c)"), "(((a | b)) & (c))");
}

TEST(QueryParser, WordsAreCutAsTheIndexCutsThemButPatternsAreNot) {
    EXPECT_EQ(parsed("Abcdefghijklmnopqrstuvwxyz"), "abcdefghijklmnopqrst");
    EXPECT_EQ(parsed("Ca*T abcdefghijklmnopqrstuv?"), "(ca*t & abcdefghijklmnopqrstuv?)");
    // A pattern is never a noise word, and an operator is no pattern.
    EXPECT_EQ(parsed("th? and [!a]nd"), "(th? & [!a]nd)");
}

TEST(QueryParser, ErrorsAndWhereTheyAre) {
    EXPECT_EQ(parsed(""), "error -5 at 0");
    EXPECT_EQ(parsed("  The of "), "error -5 at 0");  // noise words only
    EXPECT_EQ(parsed("(ship"), "error -2 at 1");
    EXPECT_EQ(parsed("( the"), "error -5 at 0");  // the group is empty once "the" is gone
    EXPECT_EQ(parsed("\"red car"), "error -3 at 5");
    EXPECT_EQ(parsed("The Cat's 2 dogs"), "error -3 at 12");  // the apostrophe opens a phrase
    EXPECT_EQ(parsed("ship and"), "error -4 at 5");
    EXPECT_EQ(parsed("or ship"), "error -4 at 0");
    EXPECT_EQ(parsed("ship )"), "error -5 at 5");
    EXPECT_EQ(parsed("\"\""), "error -5 at 1");
    EXPECT_EQ(parsed("(a or b) c"), "error -6 at 9");
    EXPECT_EQ(parsed("c (a)"), "error -6 at 2");
}

TEST(QueryParser, RefusesMoreThanItsBoundOfWords) {
    std::string query;
    for (size_t i = 0; i < eng::kMaxQueryWords; ++i) query += "w ";
    EXPECT_NE(parsed(query).substr(0, 5), "error");
    EXPECT_EQ(parsed(query + "x"), "error -7 at " + std::to_string(query.size()));
    // Tokens count too: deep nesting is refused before it is parsed.
    EXPECT_EQ(parsed(std::string(eng::kMaxQueryTokens, '(') + "x").substr(0, 8), "error -7");
    EXPECT_EQ(parsed(std::string(100000, '(')).substr(0, 8), "error -7");
}

TEST(GlobPattern, TranslatesEachWildcardAndClass) {
    EXPECT_EQ(eng::globPattern("ca*"), "ca*");
    EXPECT_EQ(eng::globPattern("c?t#"), "c?t[0-9]");
    EXPECT_EQ(eng::globPattern("[!a-c]at"), "[^a-c]at");
    EXPECT_EQ(eng::globPattern("[a#*]x"), "[a#*]x");  // inside a class every character stands for itself
    EXPECT_EQ(eng::globPattern("[^x]"), "[x^]");      // "^" is no negation here
    EXPECT_EQ(eng::globPattern("[^]"), "^");
    EXPECT_EQ(eng::globPattern("a]!b"), "a]!b");
    EXPECT_THROW(eng::globPattern("[ab"), eng::CEngineException);
    EXPECT_THROW(eng::globPattern("x[]"), eng::CEngineException);
    EXPECT_THROW(eng::globPattern("[!]"), eng::CEngineException);
}

}  // namespace
