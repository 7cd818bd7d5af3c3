// Filter commands: the filter test that the filter editor shows, and the
// check of an expression typed by the user.
#include "base/AsciiText.h"
#include "base/EngineException.h"
#include "core/CommandTable.h"
#include "core/Messages.h"
#include "filters/Filter.h"
#include "filters/FilterExpression.h"
#include "filters/FilterTestReport.h"

namespace eng {

namespace {

// What Eng_ValidateQuery checks its text as.
constexpr int32_t kSearchQueryMode = 1;
constexpr int32_t kFilterExpressionMode = 2;

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

// Answers 0 when the trimmed text parses, else the parser's error code.
intptr_t validateQuery(DispatchContext &c) {
    const std::string text = c.args().readCallerText();
    const int32_t mode = c.args().readInt32();
    if (mode == kSearchQueryMode) throw CEngineException("not available yet");
    if (mode == kFilterExpressionMode) c.setResult(compileFilterExpression(trimmedWhite(text)).error);
    return 0;
}

}  // namespace

void addFilterCommands(CommandTable &table) {
    table.set(msg::kTestFilter, {testFilter});
    table.set(msg::kValidateQuery, {validateQuery});
}

}  // namespace eng
