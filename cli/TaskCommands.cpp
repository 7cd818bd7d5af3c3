#include "TaskCommands.h"

#include <algorithm>
#include <iostream>

#include "Arguments.h"
#include "EngineMessages.h"
#include "ExpressionErrors.h"
#include "Failure.h"
#include "FolderRecords.h"
#include "OpenedProject.h"
#include "SiteFilter.h"
#include "TaskRecords.h"
#include "engine.h"

namespace lark {

namespace {

constexpr char kEntryEnd = '\xFF';

// The filter text as the engine takes it. A text with no entry end and no
// ';' is a bare expression: one rule for every kind of link.
std::string engineFilter(const std::string &given) {
    if (given.empty() || given.find(kEntryEnd) != std::string::npos || given.find(';') != std::string::npos)
        return given;
    return filterEntryForEveryKind(given);
}

// Refuses a filter text that the engine would silently cut short or drop a
// rule of: every entry must be "mask;min;max;expression" with an expression
// that compiles.
void checkFilter(const std::string &text) {
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find(kEntryEnd, start), text.size());
        const std::string entry = text.substr(start, end - start);
        start = end + 1;
        size_t at = 0;
        for (int field = 0; field < 3; ++field) {
            while (at < entry.size() && entry[at] >= '0' && entry[at] <= '9') ++at;
            if (at >= entry.size() || entry[at] != ';')
                throw Failure("filter entry \"" + entry + "\" is not mask;minimum;maximum;expression");
            ++at;
        }
        const std::string expression = entry.substr(at);
        const int32_t code = Eng_ValidateQuery(expression.c_str(), ENG_QUERY_FILTER);
        if (code != 0) throw Failure("Filter error: " + expressionErrorText(code) + " in \"" + expression + "\"");
    }
}

// The options of add, kept as strings that outlive the engine call.
struct NewTask {
    std::string url, name, filter, userAgent, formData;
    uint32_t depth, folder, age;
};

NewTask readNewTask(const Arguments &args, const std::string &url, const std::string &extraFilter) {
    return {url,
            args.value("name").value_or(""),
            engineFilter(args.value("filter").value_or("")) + extraFilter,
            args.value("agent").value_or(""),
            args.value("post").value_or(""),
            static_cast<uint32_t>(args.number("depth", 1)),
            static_cast<uint32_t>(args.number("folder", 1)),
            static_cast<uint32_t>(args.number("age", 0))};
}

// Creates the task, following redirects: its number, 0 when the engine
// cannot fetch its address.
int32_t create(NewTask &t) {
    std::string none;
    EngTaskRecord in{};
    in.url = t.url.data();
    in.formData = t.formData.data();
    in.reserved1 = in.reserved2 = none.data();
    in.userAgent = t.userAgent.data();
    in.filter = t.filter.data();
    in.note = none.data();
    in.name = t.name.data();
    in.referer = none.data();
    in.depth = t.depth;
    in.folder = t.folder;
    in.acceptableAge = t.age;
    in.followRedirects = 1;
    return Eng_CreateTask(&in);
}

// Switches a task with the engine call, then shows the state it is in now.
int switchTask(const std::string &command, const std::vector<std::string> &words, void (*engineSwitch)(uint32_t)) {
    Arguments args(words, {}, {});
    args.expectCount(2, 2);
    const uint32_t task = args.idAt(1, "TASK", "task");
    return reportingFailures(command, [&] {
        OpenedProject project(args.at(0));
        existingTask(task);
        engineSwitch(task);
        std::cout << "task " << task << ' ' << taskStateWord(existingTask(task).state) << '\n';
        return 0;
    });
}

}  // namespace

uint32_t createTaskFrom(const Arguments &args, const std::string &url, const std::string &extraFilter) {
    NewTask task = readNewTask(args, url, extraFilter);
    if (!folderExists(task.folder)) throw Failure("there is no folder " + std::to_string(task.folder));
    checkFilter(task.filter);
    EngineMessages messages;
    const int32_t id = create(task);
    if (id == 0) throw Failure("cannot make a task for \"" + task.url + "\" (not an http, https, ftp or file address)");
    if (id < 0) throw Failure(messages.summary("the task could not be created"));
    return static_cast<uint32_t>(id);
}

int addTask(const std::vector<std::string> &words) {
    Arguments args(words, kTaskOptions, {});
    args.expectCount(2, 2);
    return reportingFailures("add", [&] {
        OpenedProject project(args.at(0));
        std::cout << createTaskFrom(args, args.at(1)) << '\n';
        return 0;
    });
}

int removeTask(const std::vector<std::string> &words) {
    Arguments args(words, {}, {});
    args.expectCount(2, 2);
    const uint32_t task = args.idAt(1, "TASK", "task");
    return reportingFailures("rm", [&] {
        OpenedProject project(args.at(0));
        if (Eng_DeleteTask(task) == 0) throw Failure("there is no task " + std::to_string(task));
        return 0;
    });
}

int stopTask(const std::vector<std::string> &words) { return switchTask("stop", words, Eng_StopTask); }

int startTask(const std::vector<std::string> &words) { return switchTask("start", words, Eng_RunTask); }

}  // namespace lark
