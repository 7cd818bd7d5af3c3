#pragma once

#include <memory>
#include <string>

namespace eng {

// A node of a parsed boolean expression. Groups stay in the tree so that a
// translation of the expression can keep its parentheses.
struct ExprNode {
    enum class Kind {
        Operand,  // a pattern or word, in `text`
        Not,
        And,
        Or,
        Group,   // "(" … ")"
        Phrase,  // "[" … "]"
    };

    Kind kind;
    std::string text;
    std::unique_ptr<ExprNode> left;   // the operand of Not, Group and Phrase; the first of And and Or
    std::unique_ptr<ExprNode> right;  // the second operand of And and Or
};

// The value of an expression whose operands are judged by `operandTrue`
// (called with an operand's text). Both sides of And and Or are always
// evaluated, so every operand is asked whatever the others give.
template <class OperandTrue>
bool evaluate(const ExprNode &node, const OperandTrue &operandTrue) {
    switch (node.kind) {
        case ExprNode::Kind::Operand:
            return operandTrue(node.text);
        case ExprNode::Kind::Not:
            return !evaluate(*node.left, operandTrue);
        case ExprNode::Kind::And: {
            const bool first = evaluate(*node.left, operandTrue);
            const bool second = evaluate(*node.right, operandTrue);
            return first && second;
        }
        case ExprNode::Kind::Or: {
            const bool first = evaluate(*node.left, operandTrue);
            const bool second = evaluate(*node.right, operandTrue);
            return first || second;
        }
        case ExprNode::Kind::Group:
        case ExprNode::Kind::Phrase:
            return evaluate(*node.left, operandTrue);
    }
    return false;
}

}  // namespace eng
