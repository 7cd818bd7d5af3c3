#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "filters/ExpressionTree.h"

namespace eng {

// What a token means to the parser. The languages that use the parser decide
// which text becomes which kind: filters know only "(" ")" groups; bracket
// groups are the phrases of search queries.
enum class TokenKind { Operand, And, Or, Not, Open, Close, OpenBracket, CloseBracket };

struct ExprToken {
    TokenKind kind;
    std::string text;  // an operand's text
};

// Why an expression does not parse.
enum ExprError : int32_t {
    kExprUnclosedGroup = -2,    // a "(" without its ")"
    kExprUnclosedBracket = -3,  // a "[" without its "]"
    kExprMissingOperand = -4,   // an operator without its operands
    kExprEmpty = -5,            // nothing to parse, an empty group, or a ")" or "]" where no group is open
    kExprMissingOperator = -6,  // two operands in a row
    kExprTooLong = -7,          // more tokens or deeper nesting than an expression may have
};

// The bounds of every expression, filter or query: the parse, the tree's
// destruction and its evaluation recurse, so a hostile text of many
// operators or nested groups must not exhaust the stack.
inline constexpr size_t kMaxExpressionTokens = 4096;
inline constexpr size_t kMaxExpressionDepth = 256;  // nested groups and NOTs

struct ParsedExpr {
    std::unique_ptr<ExprNode> tree;  // null when the expression does not parse
    int32_t error = 0;               // 0 or an ExprError
    // The token at which parsing failed; the last one when the tokens ended
    // too early (0 when there are none).
    size_t errorToken = 0;
};

// Builds the tree of a token sequence. NOT binds tightest, then AND, then OR;
// AND and OR group from the left. Beyond the bounds above it fails with
// kExprTooLong.
ParsedExpr parseExpression(const std::vector<ExprToken> &tokens);

}  // namespace eng
