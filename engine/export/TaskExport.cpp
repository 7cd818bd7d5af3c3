#include "export/TaskExport.h"

#include <sys/stat.h>

#include <algorithm>

#include "content/LocalFileNames.h"
#include "export/ExportFolder.h"
#include "export/ExportNames.h"
#include "export/ExportWriter.h"
#include "export/TaskResources.h"
#include "store/ProjectTables.h"

namespace eng {

namespace {

constexpr size_t kTaskNameLength = 50;
// A name with "[n]" and ".html" added must still fit a file name (255 bytes).
constexpr size_t kLongestName = 200;

struct Destination {
    std::string folder;
    std::string pageName;  // empty: none given
};

bool isFolder(const std::string &path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.ends_with('/')) path.pop_back();
    return path;
}

Destination splitDestination(const std::string &path) {
    if (path.empty()) return {".", {}};
    if (path.ends_with('/') || isFolder(path)) return {withoutTrailingSlashes(path), {}};
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

std::string taskPageName(ProjectTables &tables, const TaskRow &task) {
    if (!task.name.empty()) return task.name;
    const std::string start = tables.strings.textOf(task.urlId);
    std::string named = fileNameOfUrl(start, true, true, kTaskNameLength);
    return named.empty() ? start : named;
}

std::string companionFolder(const std::string &pageName) {
    const size_t dot = pageName.rfind('.');
    return (dot == std::string::npos || dot == 0 ? pageName : pageName.substr(0, dot)) + "_files";
}

// The redirect page's file: the name with ".html" unless its extension
// already names an HTML file.
std::string redirectPageFile(const std::string &pageName) {
    const size_t dot = pageName.rfind('.');
    const bool html = dot != std::string::npos && dot != 0 && pageName.find("htm", dot) != std::string::npos;
    return html ? pageName : pageName + ".html";
}

// The page name, sanitised and shortened, numbered until neither its page
// nor its companion folder exists.
std::string freePageName(const ExportFolder &folder, const std::string &wanted, size_t length) {
    std::string name = sanitizeFileName(shortenName(wanted, length, false));
    if (name.empty()) name = "index";
    const auto taken = [&](const std::string &candidate) {
        return folder.holds(redirectPageFile(candidate)) || folder.holds(companionFolder(candidate));
    };
    // Each try is numbered from the plain name; the number goes before the
    // extension, so the companion folder changes with it.
    std::vector<std::string> tried;
    std::string candidate = name;
    while (taken(candidate)) {
        tried.push_back(candidate);
        candidate = uniqueExportName(name, tried);
    }
    return candidate;
}

}  // namespace

std::optional<ExportSummary> exportTask(ProjectTables &tables, const std::string &destination, uint32_t taskId,
                                        const ExportOptions &options, const ExportProgressSink &progress) {
    const auto task = tables.tasks.find(int64_t{taskId});
    if (!task || tables.items.ofTask(taskId).empty()) return std::nullopt;
    progress({ExportProgress::Started, 0, 0});
    const TaskResources collected = collectTaskResources(tables, taskId, progress);
    if (collected.resources.empty()) return ExportSummary{};

    const size_t length = options.nameLength == 0 ? 0 : std::min(options.nameLength, kLongestName);
    const Destination where = splitDestination(destination);
    const ExportFolder folder = ExportFolder::destination(where.folder);
    const std::string wanted = where.pageName.empty() ? taskPageName(tables, *task) : where.pageName;
    const std::string pageName = freePageName(folder, wanted, length == 0 ? kLongestName : length);

    const auto root = buildExportTree(companionFolder(pageName), collected.resources,
                                      ExportTreeOptions{options.htmlExtension, length});
    ExportWriter writer(tables.res, *root, collected.redirects, progress);
    writer.write(folder);
    if (const ExportNode *start = writer.exported(tables.strings.textOf(task->urlId)))
        writer.writeRedirectPage(folder, redirectPageFile(pageName), *start);
    return writer.summary();
}

}  // namespace eng
