#include "filters/ExpressionTokenizer.h"

#include "base/AsciiText.h"

namespace eng {

namespace {

bool isGroupMark(char c) { return c == '(' || c == ')'; }

}  // namespace

std::vector<TextToken> splitExpression(std::string_view text) {
    std::vector<TextToken> tokens;
    size_t pos = 0;
    while (true) {
        while (pos < text.size() && isAsciiWhite(text[pos])) ++pos;
        if (pos == text.size()) return tokens;
        const size_t start = pos++;
        if (!isGroupMark(text[start]))
            while (pos < text.size() && !isAsciiWhite(text[pos]) && !isGroupMark(text[pos])) ++pos;
        const std::string_view token = text.substr(start, pos - start);
        if (pos < text.size() && isAsciiWhite(text[pos])) ++pos;
        tokens.push_back({token, pos});
    }
}

}  // namespace eng
