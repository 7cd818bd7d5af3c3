#include "filters/FilterExpression.h"

#include "base/AsciiText.h"
#include "filters/ExpressionTokenizer.h"
#include "filters/UrlPattern.h"

namespace eng {

TokenKind filterTokenKind(std::string_view token) {
    if (token == "(") return TokenKind::Open;
    if (token == ")") return TokenKind::Close;
    if (equalsNoCase(token, "and")) return TokenKind::And;
    if (equalsNoCase(token, "or")) return TokenKind::Or;
    if (equalsNoCase(token, "not")) return TokenKind::Not;
    return TokenKind::Operand;
}

ParsedExpr compileFilterExpression(std::string_view text) {
    std::vector<ExprToken> tokens;
    for (const TextToken &token : splitExpression(text)) {
        const TokenKind kind = filterTokenKind(token.text);
        tokens.push_back({kind, kind == TokenKind::Operand ? asciiLowered(completedPattern(token.text)) : ""});
    }
    return parseExpression(tokens);
}

}  // namespace eng
