#include "SearchCommand.h"

#include <cstdio>
#include <iostream>
#include <optional>

#include "Arguments.h"
#include "EngineMessages.h"
#include "ExpressionErrors.h"
#include "Failure.h"
#include "OpenedProject.h"
#include "RecordBuffer.h"
#include "base/AsciiText.h"
#include "base/DateTime.h"
#include "engine.h"

namespace lark {

namespace {

// The done resources, with and without errors, unless --state says otherwise.
constexpr int16_t kDoneStates = 6;

// A date given as YEAR-MONTH-DAY, optionally followed by "T" or a blank and
// HOUR:MINUTE[:SECOND], as the engine counts dates: days since 30 December
// 1899 in local time. A bare day ends at its last second when it is the end
// of a range.
double dateValue(const std::string &text, const std::string &option, bool rangeEnd) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, used = 0;
    const int fields = std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &year, &month, &day, &used);
    bool valid = fields == 3;
    bool timeGiven = false;
    if (valid && static_cast<size_t>(used) < text.size()) {
        int more = 0;
        valid = (text[used] == 'T' || text[used] == ' ') &&
                std::sscanf(text.c_str() + used + 1, "%2d:%2d%n", &hour, &minute, &more) == 2;
        int rest = used + 1 + more;
        if (valid && static_cast<size_t>(rest) < text.size()) {
            int secondsUsed = 0;
            valid = std::sscanf(text.c_str() + rest, ":%2d%n", &second, &secondsUsed) == 1 &&
                    static_cast<size_t>(rest + secondsUsed) == text.size();
        }
        timeGiven = true;
    }
    // A bare day that ends a range ends at its last second.
    if (!timeGiven && rangeEnd) hour = 23, minute = 59, second = 59;
    const std::optional<double> date = valid ? eng::dateOf(year, month, day, hour, minute, second) : std::nullopt;
    if (!date) throw UsageError("--" + option + " must be a date written YEAR-MONTH-DAY[THOUR:MINUTE[:SECOND]]");
    return *date;
}

// Both ends of a date range; an end not given is open.
std::pair<double, double> dateRange(const Arguments &args, const std::string &name) {
    const auto from = args.value(name + "-from"), to = args.value(name + "-to");
    if (!from && !to) return {0, 0};
    return {from ? dateValue(*from, name + "-from", false) : 1e-9, to ? dateValue(*to, name + "-to", true) : 1e9};
}

int32_t number(const Arguments &args, const std::string &option, int32_t fallback) {
    return static_cast<int32_t>(args.number(option, static_cast<unsigned long>(fallback), INT32_MAX));
}

bool blank(const std::string &text) { return eng::trimmedWhite(text).empty(); }

// Shows why a query does not parse, pointing at where; false then.
bool parses(const std::string &query, const std::string &what) {
    int32_t position = -1;
    const int32_t code = Eng_ValidateQueryAt(query.c_str(), ENG_QUERY_SEARCH, &position);
    if (code == 0) return true;
    std::cerr << "lark search: the " << what << " does not parse: " << expressionErrorText(code) << " at character "
              << position + 1 << "\n  " << query << "\n  " << std::string(position, ' ') << "^\n";
    return false;
}

}  // namespace

int searchProject(const std::vector<std::string> &words) {
    Arguments args(words,
                   {"title", "url", "state", "type", "min-size", "max-size", "done-from", "done-to", "modified-from",
                    "modified-to", "max"},
                   {});
    args.expectCount(1, 2);
    const std::string query = args.count() > 1 ? args.at(1) : "";
    const std::string title = args.value("title").value_or("");
    const std::string url = args.value("url").value_or("");
    const auto states = static_cast<int16_t>(args.number("state", kDoneStates, 7));
    const int32_t type = number(args, "type", 0);
    const int32_t minSize = number(args, "min-size", 0), maxSize = number(args, "max-size", INT32_MAX);
    const auto [doneFrom, doneTo] = dateRange(args, "done");
    const auto [modifiedFrom, modifiedTo] = dateRange(args, "modified");
    const int32_t max = args.has("max") ? number(args, "max", 0) : -1;

    OpenedProject project(args.at(0));
    if (!blank(query) && !parses(query, "query")) return 2;
    if (!blank(title) && title != "*" && !parses(title, "title query")) return 2;
    EngineMessages messages;
    auto [result, buffer] = eng::client::receiveWithResult(Eng_FreeMem, Eng_SearchItems, max, query.c_str(), states,
                                                           url.c_str(), title.c_str(), minSize, maxSize, doneFrom,
                                                           doneTo, modifiedFrom, modifiedTo, type);
    const eng::client::RecordBuffer<eng::client::ItemResource> found(std::move(buffer));
    if (result != 1) throw Failure(messages.summary("the search failed"));
    for (const eng::client::ItemResource &pair : found)
        std::cout << eng::client::text(pair.resource.url) << '\t' << eng::client::text(pair.resource.title) << '\n';
    return 0;
}

}  // namespace lark
