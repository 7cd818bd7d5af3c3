#include "base/SrcsetList.h"

#include "base/AsciiText.h"

namespace eng {

std::vector<SrcsetUrl> srcsetUrls(std::string_view value) {
    std::vector<SrcsetUrl> urls;
    size_t at = 0;
    while (at < value.size()) {
        while (at < value.size() && (isAsciiWhite(value[at]) || value[at] == ',')) ++at;
        const size_t start = at;
        while (at < value.size() && !isAsciiWhite(value[at])) ++at;
        size_t end = at;
        const bool endsWithComma = end > start && value[end - 1] == ',';
        while (end > start && value[end - 1] == ',') --end;
        if (end > start) urls.push_back({start, end - start});
        if (endsWithComma) continue;
        // The descriptors ("2x", "100w"), up to a comma outside parentheses.
        bool inParentheses = false;
        for (; at < value.size() && (inParentheses || value[at] != ','); ++at)
            if (value[at] == '(' || value[at] == ')') inParentheses = value[at] == '(';
    }
    return urls;
}

}  // namespace eng
