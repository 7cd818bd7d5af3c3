#include "TaskListCommands.h"

#include <cstdio>

#include "Arguments.h"
#include "Failure.h"
#include "FolderRecords.h"
#include "ItemRecords.h"
#include "OpenedProject.h"
#include "TaskRecords.h"

namespace lark {

namespace {

// The columns of lark tasks; the last one is as wide as it needs.
constexpr const char *kTaskHeader = "%6s  %-8s  %7s  %9s  %5s  %6s  %s\n";
constexpr const char *kTaskRow = "%6u  %-8s  %7u  %9u  %5u  %6u  %s\n";

void printTask(const TaskEntry &t) {
    std::printf(kTaskRow, t.id, taskStateWord(t.state).c_str(), t.queued, t.retrieved, t.depth, t.errors,
                (t.name.empty() ? t.url : t.name).c_str());
}

// The columns of lark items; the error text follows the address when there is one.
constexpr const char *kItemHeader = "%6s  %5s  %-11s  %6s  %10s  %s\n";
constexpr const char *kItemRow = "%6u  %5d  %-11s  %6d  %10u  %s";

void printItem(const ItemEntry &i) {
    std::printf(kItemRow, i.item, i.level, resourceStateWord(i.state).c_str(), i.status, i.size, i.url.c_str());
    if (i.error) std::printf("  (%s)", i.errorText.c_str());
    std::printf("\n");
}

}  // namespace

int listTasks(const std::vector<std::string> &words) {
    Arguments args(words, {"folder"}, {});
    args.expectCount(1, 1);
    const auto folder = static_cast<uint32_t>(args.number("folder", 0));
    return reportingFailures("tasks", [&] {
        OpenedProject project(args.at(0));
        if (args.has("folder") && !folderExists(folder)) throw Failure("there is no folder " + std::to_string(folder));
        std::printf(kTaskHeader, "id", "state", "queued", "retrieved", "depth", "errors", "name or address");
        if (args.has("folder")) {
            for (const TaskEntry &t : folderTasks(folder)) printTask(t);
        } else {
            walkFolders([](const FolderEntry &f, int) {
                for (const TaskEntry &t : folderTasks(f.id)) printTask(t);
            });
        }
        return 0;
    });
}

int listItems(const std::vector<std::string> &words) {
    Arguments args(words, {}, {});
    args.expectCount(2, 2);
    const uint32_t task = args.idAt(1, "TASK", "task");
    return reportingFailures("items", [&] {
        OpenedProject project(args.at(0));
        existingTask(task);
        std::printf(kItemHeader, "item", "level", "state", "status", "size", "address");
        for (const ItemEntry &i : taskItems(task)) printItem(i);
        return 0;
    });
}

}  // namespace lark
