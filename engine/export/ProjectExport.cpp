#include "export/ProjectExport.h"

#include <algorithm>
#include <vector>

#include "base/AsciiText.h"
#include "base/EngineException.h"
#include "base/FitText.h"
#include "content/LocalFileNames.h"
#include "export/ExportDestination.h"
#include "export/ExportNames.h"
#include "export/ExportWriter.h"
#include "store/ProjectTables.h"
#include "sys/UiHost.h"

namespace eng {

namespace {

constexpr uint32_t kRootFolder = 1;
constexpr size_t kFolderNameLength = 50;
constexpr size_t kLongestName = 200;
constexpr uint32_t kRowsPerReport = 10;

TaskResources collectProjectResources(ProjectTables &tables, const ExportProgressSink &progress) {
    struct Row {
        uint32_t urlId, redirectUrlId, resId;
        int type;
    };
    std::vector<Row> rows;
    Statement &query = tables.queries.get("Select ResId and UrlId to export");
    query.reset();
    while (query.step())
        rows.push_back({static_cast<uint32_t>(query.integer(0)), static_cast<uint32_t>(query.integer(2)),
                        static_cast<uint32_t>(query.integer(3)), static_cast<int>(query.integer(1))});
    query.reset();
    TaskResources out;
    const auto total = static_cast<uint32_t>(rows.size());
    for (uint32_t taken = 0; taken < total; ++taken) {
        const Row &row = rows[taken];
        std::string address = tables.strings.textOf(row.urlId);
        if (row.redirectUrlId != 0)
            out.redirects[std::move(address)] = tables.strings.textOf(row.redirectUrlId);
        else
            out.resources.push_back({std::move(address), row.resId, row.type});
        if ((taken + 1) % kRowsPerReport == 0) progress({ExportProgress::Collecting, total, taken + 1});
    }
    return out;
}

std::string projectTitle(const std::string &projectPath) {
    std::string name = projectPath.substr(projectPath.rfind('/') + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot != 0) name.resize(dot);
    return name;
}

class FolderPages {
public:
    FolderPages(ProjectTables &tables, ExportWriter &writer) : t_(tables), writer_(writer) {}

    void write(uint32_t folderId, const std::string &name, const ExportFolder &parent, const std::string &climb) {
        std::optional<ExportFolder> folder;
        try {
            folder.emplace(parent.subfolder(sanitizeFileName(fitText(name, kFolderNameLength))));
        } catch (const CEngineException &e) {
            showEngineMessage(e.what());
            return;
        }
        const std::vector<TaskRow> tasks = t_.tasks.inFolder(folderId);
        const std::vector<std::string> names = taskNames(tasks);
        for (size_t i = 0; i < tasks.size(); ++i)
            if (const ExportNode *start = writer_.exported(t_.strings.textOf(tasks[i].urlId)))
                writer_.writeRedirectPage(*folder, redirectPageFile(names[i]), *start, climb);
        for (const FolderRow &child : t_.folders.children(folderId))
            write(child.folderId, child.name, *folder, climb + "../");
    }

private:
    // Each name is numbered while it equals, in any letter case, the name of
    // another task as it stands, so the last of equal names keeps its own.
    std::vector<std::string> taskNames(const std::vector<TaskRow> &tasks) {
        std::vector<std::string> names;
        for (const TaskRow &task : tasks)
            names.push_back(sanitizeFileName(taskPageName(task.name, t_.strings.textOf(task.urlId))));
        for (size_t i = 0; i < names.size(); ++i)
            names[i] = firstFreeName(names[i], [&](const std::string &candidate) {
                for (size_t j = 0; j < names.size(); ++j)
                    if (j != i && equalsNoCase(names[j], candidate)) return true;
                return false;
            });
        return names;
    }

    ProjectTables &t_;
    ExportWriter &writer_;
};

}  // namespace

ExportSummary exportProject(ProjectTables &tables, const std::string &projectPath, const std::string &destination,
                            const ExportOptions &options, const ExportProgressSink &progress) {
    progress({ExportProgress::Started, 0, 0});
    progress({ExportProgress::Collecting, 0, 0});
    const TaskResources collected = collectProjectResources(tables, progress);
    if (collected.resources.empty()) return {};
    const ExportFolder destinationFolder = ExportFolder::destination(splitDestination(destination + "/").folder);
    const std::string exportName = firstFreeName(sanitizeFileName(projectTitle(projectPath) + " Lark Project"),
                                                 [&](const std::string &n) { return destinationFolder.holds(n); });
    const ExportFolder exportFolder = destinationFolder.subfolder(exportName);
    progress({ExportProgress::Writing, 0, 0});
    const size_t length = options.nameLength == 0 ? 0 : std::min(options.nameLength, kLongestName);
    const auto root = buildExportTree("Project Files", collected.resources, {options.htmlExtension, length});
    ExportWriter writer(tables.res, *root, collected.redirects, progress);
    writer.write(exportFolder);
    const auto rootFolder = tables.folders.find(int64_t{kRootFolder});
    FolderPages(tables, writer).write(kRootFolder, rootFolder ? rootFolder->name : "Root", exportFolder, "../");
    return writer.summary();
}

}  // namespace eng
