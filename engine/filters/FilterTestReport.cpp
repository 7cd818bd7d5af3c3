#include "filters/FilterTestReport.h"

#include "base/HtmlEscape.h"
#include "base/WildcardMatch.h"
#include "filters/ExpressionTokenizer.h"
#include "filters/FilterExpression.h"

namespace eng {

namespace {

// Appends text[from, to) with its blanks, tabs and line ends made visible in
// HTML, and every other character that HTML gives a meaning escaped. A carriage return counts as a line end only when a
// line feed follows it anywhere in the text, even past `to`; the line feed itself is kept.
void appendVisible(std::string &out, std::string_view text, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) {
        if (text[i] == ' ')
            out += " &nbsp; ";
        else if (text[i] == '\t')
            out += " &nbsp;&nbsp;&nbsp;&nbsp; ";
        else if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            out += " <br> ";
        else
            out += escapeHtml(text.substr(i, 1));
    }
}

}  // namespace

std::string filterTestReport(const Filter &filter, std::string_view url, uint32_t kind) {
    const FilterRule *rule = filter.ruleFor(kind);
    if (!rule) return {};
    const std::string_view text = rule->text;
    std::string report;
    size_t from = 0;
    for (const TextToken &token : splitExpression(text)) {
        const bool pattern = filterTokenKind(token.text) == TokenKind::Operand;
        if (pattern) report += wildcardMatch(url, token.text) ? " <font color=green> " : " <font color=red> ";
        appendVisible(report, text, from, token.end);
        if (pattern) report += " </font> ";
        from = token.end;
    }
    return report;
}

}  // namespace eng
