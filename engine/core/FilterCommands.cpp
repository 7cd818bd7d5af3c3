// Filter commands: the filter test that the filter editor shows, and the
// check of an expression typed by the user.
#include "base/AsciiText.h"
#include "core/CommandTable.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "engine.h"
#include "filters/ExpressionTokenizer.h"
#include "filters/Filter.h"
#include "filters/FilterExpression.h"
#include "filters/FilterTestReport.h"
#include "search/QueryParser.h"

namespace eng {

namespace {

// The report is made before compiling, so that it shows the rule as written
// even when its expression does not compile; the decision is the compiled
// filter's. The project's own filter takes no part.
intptr_t testFilter(DispatchContext &c) {
    const std::string text = c.args().readCallerText();
    const std::string url = c.args().readCallerText();
    const auto kind = static_cast<uint32_t>(c.args().readInt32());
    Filter filter;
    filter.parse(text);
    const std::string report = filterTestReport(filter, url, kind);
    filter.compile();
    c.answer().writeCountedText(report);
    c.setResult(filter.accept(url, kind) ? 1 : 0);
    return 0;
}

// The byte offset in `text` of the filter expression's token at which
// compiling stopped.
size_t filterErrorOffset(std::string_view text, const ParsedExpr &compiled) {
    const std::vector<TextToken> tokens = splitExpression(text);
    if (tokens.empty()) return 0;
    return static_cast<size_t>(tokens[compiled.errorToken].text.data() - text.data());
}

// Answers 0 when the trimmed text parses, else the parser's error code, with
// the offset in the text at which it failed (-1 when it parses).
intptr_t validateQuery(DispatchContext &c) {
    const std::string text = c.args().readCallerText();
    const int32_t mode = c.args().readInt32();
    int32_t error = 0;
    size_t offset = 0;
    if (mode == ENG_QUERY_SEARCH) {
        const ParsedQuery parsed = parseSearchQuery(text, c.engine.words());
        error = parsed.error;
        offset = parsed.position;
    } else if (mode == ENG_QUERY_FILTER) {
        const ParsedExpr compiled = compileFilterExpression(trimmedWhite(text));
        error = compiled.error;
        if (error) offset = filterErrorOffset(text, compiled);
    }
    c.setResult(error);
    c.answer().writeInt32(error ? static_cast<int32_t>(offset) : -1);
    return 0;
}

}  // namespace

void addFilterCommands(CommandTable &table) {
    table.set(msg::kTestFilter, {testFilter});
    table.set(msg::kValidateQuery, {validateQuery});
}

}  // namespace eng
