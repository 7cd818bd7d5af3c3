#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace eng {

// One token of an expression text, as a view into that text.
struct TextToken {
    std::string_view text;
    // Just past the token and the one white-space character that ended it,
    // if any: where the next token's leading white space starts.
    size_t end;
};

// Splits an expression into tokens: white space separates them, and "(" and
// ")" are tokens by themselves even without white space around them.
std::vector<TextToken> splitExpression(std::string_view text);

}  // namespace eng
