#include "export/TaskExport.h"

#include <algorithm>

#include "export/ExportDestination.h"
#include "export/ExportWriter.h"
#include "export/TaskResources.h"
#include "store/ProjectTables.h"

namespace eng {

namespace {

// A name with "[n]" and ".html" added must still fit a file name (255 bytes).
constexpr size_t kLongestName = 200;

}  // namespace

std::optional<ExportSummary> exportTask(ProjectTables &tables, const std::string &destination, uint32_t taskId,
                                        const ExportOptions &options, const ExportProgressSink &progress) {
    const auto task = tables.tasks.find(int64_t{taskId});
    if (!task) return std::nullopt;
    const std::vector<ItemRow> items = tables.items.ofTask(taskId);
    if (items.empty()) return std::nullopt;
    progress({ExportProgress::Started, 0, 0});
    const TaskResources collected = collectTaskResources(tables, items, progress);
    if (collected.resources.empty()) return ExportSummary{};

    const size_t length = options.nameLength == 0 ? 0 : std::min(options.nameLength, kLongestName);
    const Destination where = splitDestination(destination);
    const ExportFolder folder = ExportFolder::destination(where.folder);
    const std::string wanted =
        where.pageName.empty() ? taskPageName(task->name, tables.strings.textOf(task->urlId)) : where.pageName;
    const std::string pageName = freePageName(folder, wanted, length == 0 ? kLongestName : length, redirectPageFile);

    const auto root = buildExportTree(companionFolder(pageName), collected.resources,
                                      ExportTreeOptions{options.htmlExtension, length});
    ExportWriter writer(tables.res, *root, collected.redirects, progress);
    writer.write(folder);
    if (const ExportNode *start = writer.exported(tables.strings.textOf(task->urlId)))
        writer.writeRedirectPage(folder, redirectPageFile(pageName), *start);
    return writer.summary();
}

}  // namespace eng
