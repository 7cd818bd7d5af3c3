#pragma once

#include <string_view>

#include "filters/ExpressionParser.h"

namespace eng {

// What a token of a filter expression is: "and", "or" and "not" in any
// letter case are operators, "(" and ")" group, anything else is a pattern.
TokenKind filterTokenKind(std::string_view token);

// Compiles a filter expression: its patterns are completed and lowercased,
// so that the tree matches URLs lowercased the same way.
ParsedExpr compileFilterExpression(std::string_view text);

}  // namespace eng
