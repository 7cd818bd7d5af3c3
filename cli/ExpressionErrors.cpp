#include "ExpressionErrors.h"

namespace lark {

std::string expressionErrorText(int32_t code) {
    switch (code) {
        case -1:
            return "Bad query";
        case -2:
            return "No closing bracket";
        case -3:
            return "No closing quote";
        case -4:
            return "Missing operand";
        case -5:
            return "Syntax Error";
        case -6:
            return "Missing operation";
        case -7:
            return "Expression too long or nested too deep";
        default:
            return "Unexpected error";
    }
}

}  // namespace lark
