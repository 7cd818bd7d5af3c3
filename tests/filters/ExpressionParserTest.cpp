#include "filters/ExpressionParser.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "filters/ExpressionTokenizer.h"
#include "filters/FilterExpression.h"

namespace {

// Filter tokens, plus "[" and "]" as the bracket groups that search queries
// make of their phrases; operands stay as written.
std::vector<eng::ExprToken> tokens(std::string_view text) {
    std::vector<eng::ExprToken> out;
    for (const eng::TextToken &token : eng::splitExpression(text)) {
        eng::TokenKind kind = eng::filterTokenKind(token.text);
        if (token.text == "[") kind = eng::TokenKind::OpenBracket;
        if (token.text == "]") kind = eng::TokenKind::CloseBracket;
        out.push_back({kind, std::string(token.text)});
    }
    return out;
}

// The tree with braces around every AND and OR, to show how it grouped.
std::string render(const eng::ExprNode &node) {
    using Kind = eng::ExprNode::Kind;
    switch (node.kind) {
        case Kind::Operand:
            return node.text;
        case Kind::Not:
            return "NOT " + render(*node.left);
        case Kind::And:
            return "{" + render(*node.left) + " AND " + render(*node.right) + "}";
        case Kind::Or:
            return "{" + render(*node.left) + " OR " + render(*node.right) + "}";
        case Kind::Group:
            return "(" + render(*node.left) + ")";
        case Kind::Phrase:
            return "[" + render(*node.left) + "]";
    }
    return "?";
}

}  // namespace

TEST(FilterExpressionTokens, BlanksSeparateAndParenthesesStandAlone) {
    struct Row {
        std::string text;
        std::vector<std::string> tokens;
        std::vector<size_t> ends;
    };
    const std::vector<Row> rows = {
        {" \t\r\n ", {}, {}},
        {"  a  b", {"a", "b"}, {4, 6}},
        {"a\tb\r\nc", {"a", "b", "c"}, {2, 4, 6}},
        {"not(a or b)", {"not", "(", "a", "or", "b", ")"}, {3, 4, 6, 9, 10, 11}},
        {"( a ) ", {"(", "a", ")"}, {2, 4, 6}},
        {"*[x]?", {"*[x]?"}, {5}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        std::vector<std::string> texts;
        std::vector<size_t> ends;
        for (const eng::TextToken &token : eng::splitExpression(row.text)) {
            texts.emplace_back(token.text);
            ends.push_back(token.end);
        }
        EXPECT_EQ(texts, row.tokens);
        EXPECT_EQ(ends, row.ends);
    }
}

TEST(FilterExpressionErrors, CodeAndTokenOfEachFault) {
    struct Row {
        std::string text;
        int32_t error;
        size_t token;
    };
    const std::vector<Row> rows = {
        {"a", 0, 0},
        {"(a)", 0, 0},
        {"not not a", 0, 0},
        {"a and not ( b or c )", 0, 0},
        {"[ a and b ] or c", 0, 0},
        // Nothing to parse, empty groups, closes with no group open.
        {"", eng::kExprEmpty, 0},
        {"()", eng::kExprEmpty, 1},
        {"[ ]", eng::kExprEmpty, 1},
        {"(", eng::kExprEmpty, 0},
        {"a and ( )", eng::kExprEmpty, 3},
        {")", eng::kExprEmpty, 0},
        {"]", eng::kExprEmpty, 0},
        {"a )", eng::kExprEmpty, 1},
        {"( a ) ]", eng::kExprEmpty, 3},
        // Groups not closed, or closed by the other kind of mark.
        {"( a", eng::kExprUnclosedGroup, 1},
        {"( ( a )", eng::kExprUnclosedGroup, 3},
        {"( a ]", eng::kExprUnclosedGroup, 2},
        {"[ a", eng::kExprUnclosedBracket, 1},
        {"( [ a ) ]", eng::kExprUnclosedBracket, 3},
        // Operators without their operands.
        {"and", eng::kExprMissingOperand, 0},
        {"OR a", eng::kExprMissingOperand, 0},
        {"a and", eng::kExprMissingOperand, 1},
        {"a or or b", eng::kExprMissingOperand, 2},
        {"not", eng::kExprMissingOperand, 0},
        {"a and )", eng::kExprMissingOperand, 2},
        {"( and a )", eng::kExprMissingOperand, 1},
        // Operands in a row.
        {"a b", eng::kExprMissingOperator, 1},
        {"a (b)", eng::kExprMissingOperator, 1},
        {"(a) b", eng::kExprMissingOperator, 3},
        {"(a)(b)", eng::kExprMissingOperator, 3},
        {"[ a ] b", eng::kExprMissingOperator, 3},
        {"a not b", eng::kExprMissingOperator, 1},
        {"not a b", eng::kExprMissingOperator, 2},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        const eng::ParsedExpr parsed = eng::parseExpression(tokens(row.text));
        EXPECT_EQ(parsed.error, row.error);
        EXPECT_EQ(parsed.tree == nullptr, row.error != 0);
        if (row.error != 0) {
            EXPECT_EQ(parsed.errorToken, row.token);
        }
    }
}

TEST(FilterExpressionTree, NotBindsTightestThenAndThenOr) {
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"a or b and c", "{a OR {b AND c}}"},
        {"a and b or c", "{{a AND b} OR c}"},
        {"not a and b", "{NOT a AND b}"},
        {"a and b and c", "{{a AND b} AND c}"},
        {"a or b or c", "{{a OR b} OR c}"},
        {"a AND b Or nOt c", "{{a AND b} OR NOT c}"},
        {"not ( a or b ) and c", "{NOT ({a OR b}) AND c}"},
        {"a or not not b", "{a OR NOT NOT b}"},
        {"[ a and b ] or c", "{[{a AND b}] OR c}"},
    };
    for (const auto &[text, shape] : rows) {
        const eng::ParsedExpr parsed = eng::parseExpression(tokens(text));
        ASSERT_NE(parsed.tree, nullptr) << text;
        EXPECT_EQ(render(*parsed.tree), shape) << text;
    }
}

TEST(FilterExpressionEvaluate, ValuesAndEveryOperandAsked) {
    struct Row {
        std::string text;
        std::map<std::string, bool> values;
        bool result;
    };
    const std::vector<Row> rows = {
        {"a or b", {{"a", true}, {"b", false}}, true},
        {"a and b", {{"a", false}, {"b", true}}, false},
        {"a and b", {{"a", true}, {"b", true}}, true},
        {"not a", {{"a", true}}, false},
        {"a or b and c", {{"a", true}, {"b", false}, {"c", false}}, true},
        {"( a or b ) and c", {{"a", true}, {"b", false}, {"c", false}}, false},
        {"not ( a and b ) or c", {{"a", true}, {"b", true}, {"c", false}}, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        const eng::ParsedExpr parsed = eng::parseExpression(tokens(row.text));
        ASSERT_NE(parsed.tree, nullptr);
        std::map<std::string, int> asked;
        const bool result = eng::evaluate(*parsed.tree, [&](const std::string &operand) {
            ++asked[operand];
            return row.values.at(operand);
        });
        EXPECT_EQ(result, row.result);
        for (const auto &[operand, value] : row.values) EXPECT_EQ(asked[operand], 1) << operand;
    }
}
