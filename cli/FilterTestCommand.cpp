#include "FilterTestCommand.h"

#include <iostream>

#include "Arguments.h"
#include "EngineBuffer.h"
#include "Failure.h"
#include "FilterReport.h"
#include "OpenedProject.h"
#include "TaskRecords.h"
#include "engine.h"

namespace lark {

namespace {

// A filter rule covers link kinds by the bits of a 32-bit mask.
constexpr unsigned long kLastKind = 31;

}  // namespace

// A query: whether the task's filter lets the address through is the
// answer, not a failure, so both end with 0.
int testTaskFilter(const std::vector<std::string> &words) {
    Arguments args(words, {"kind"}, {});
    args.expectCount(3, 3);
    const uint32_t task = args.idAt(1, "TASK", "task");
    const auto kind = static_cast<int32_t>(args.number("kind", ENG_LINK_HYPERLINK, kLastKind));
    return reportingFailures("filter-test", [&] {
        OpenedProject project(args.at(0));
        const std::string filter = existingTask(task).filter;
        char *report = nullptr;
        const int32_t accepted = Eng_TestFilter(filter.c_str(), args.at(2).c_str(), kind, &report);
        const std::string html = eng::client::takeText(report, Eng_FreeMem);
        std::cout << (accepted ? "accepted" : "refused") << '\n';
        if (html.empty())
            std::cout << "(no rule of the task's filter covers this kind of link)\n";
        else
            std::cout << readableFilterReport(html) << '\n';
        return 0;
    });
}

}  // namespace lark
