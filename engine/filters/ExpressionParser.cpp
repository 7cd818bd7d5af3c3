#include "filters/ExpressionParser.h"

#include <algorithm>

namespace eng {

namespace {

using NodePtr = std::unique_ptr<ExprNode>;

struct SyntaxError {
    int32_t code;
    size_t token;
};

NodePtr makeNode(ExprNode::Kind kind, NodePtr left, NodePtr right = nullptr) {
    return NodePtr(new ExprNode{kind, {}, std::move(left), std::move(right)});
}

bool startsOperand(TokenKind kind) {
    return kind == TokenKind::Operand || kind == TokenKind::Not || kind == TokenKind::Open ||
           kind == TokenKind::OpenBracket;
}

// Recursive descent over the tokens; the first error ends the parse.
class Parser {
public:
    explicit Parser(const std::vector<ExprToken> &tokens) : tokens_(tokens) {}

    NodePtr expression() {
        NodePtr tree = orChain(false);
        // Only a ")" or "]" stops the chains before the end.
        if (pos_ < tokens_.size()) fail(kExprEmpty);
        return tree;
    }

private:
    bool at(TokenKind kind) const { return pos_ < tokens_.size() && tokens_[pos_].kind == kind; }
    bool accept(TokenKind kind) {
        if (!at(kind)) return false;
        ++pos_;
        return true;
    }
    [[noreturn]] void fail(int32_t code) const {
        throw SyntaxError{code, tokens_.empty() ? 0 : std::min(pos_, tokens_.size() - 1)};
    }

    // `afterOperator` tells whether an operator asks for the operand that comes
    // next, or whether it starts an expression or a group.
    NodePtr orChain(bool afterOperator) {
        NodePtr tree = andChain(afterOperator);
        while (accept(TokenKind::Or)) tree = makeNode(ExprNode::Kind::Or, std::move(tree), andChain(true));
        return tree;
    }

    NodePtr andChain(bool afterOperator) {
        NodePtr tree = unary(afterOperator);
        while (accept(TokenKind::And)) tree = makeNode(ExprNode::Kind::And, std::move(tree), unary(true));
        return tree;
    }

    // Each nested group or NOT goes one level deeper.
    void deeper() {
        if (++depth_ > kMaxExpressionDepth) fail(kExprTooLong);
    }

    NodePtr unary(bool afterOperator) {
        if (accept(TokenKind::Not)) {
            deeper();
            NodePtr negated = makeNode(ExprNode::Kind::Not, unary(true));
            --depth_;
            return negated;
        }
        NodePtr operand = primary(afterOperator);
        if (pos_ < tokens_.size() && startsOperand(tokens_[pos_].kind)) fail(kExprMissingOperator);
        return operand;
    }

    NodePtr primary(bool afterOperator) {
        if (accept(TokenKind::Operand)) {
            NodePtr leaf = makeNode(ExprNode::Kind::Operand, nullptr);
            leaf->text = tokens_[pos_ - 1].text;
            return leaf;
        }
        if (accept(TokenKind::Open)) return group(ExprNode::Kind::Group, TokenKind::Close, kExprUnclosedGroup);
        if (accept(TokenKind::OpenBracket))
            return group(ExprNode::Kind::Phrase, TokenKind::CloseBracket, kExprUnclosedBracket);
        // No operand here: an operator lacks one, or an expression or group is empty.
        fail(afterOperator || at(TokenKind::And) || at(TokenKind::Or) ? kExprMissingOperand : kExprEmpty);
    }

    NodePtr group(ExprNode::Kind kind, TokenKind close, int32_t unclosed) {
        deeper();
        NodePtr inside = orChain(false);
        if (!accept(close)) fail(unclosed);
        --depth_;
        return makeNode(kind, std::move(inside));
    }

    const std::vector<ExprToken> &tokens_;
    size_t pos_ = 0;
    size_t depth_ = 0;
};

}  // namespace

ParsedExpr parseExpression(const std::vector<ExprToken> &tokens) {
    if (tokens.size() > kMaxExpressionTokens) return {nullptr, kExprTooLong, kMaxExpressionTokens};
    try {
        return {Parser(tokens).expression()};
    } catch (const SyntaxError &error) {
        return {nullptr, error.code, error.token};
    }
}

}  // namespace eng
