#include "export/ExportDestination.h"

#include <sys/stat.h>

#include "content/LocalFileNames.h"
#include "export/ExportNames.h"

namespace eng {

namespace {

bool isFolder(const std::string &path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.ends_with('/')) path.pop_back();
    return path;
}

}  // namespace

Destination splitDestination(const std::string &path) {
    if (path.empty()) return {".", {}};
    if (path.ends_with('/') || isFolder(path)) return {withoutTrailingSlashes(path), {}};
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

std::string companionFolder(const std::string &pageName) {
    const size_t dot = pageName.rfind('.');
    return (dot == std::string::npos || dot == 0 ? pageName : pageName.substr(0, dot)) + "_files";
}

std::string redirectPageFile(const std::string &pageName) {
    const size_t dot = pageName.rfind('.');
    const bool html = dot != std::string::npos && dot != 0 && pageName.find("htm", dot) != std::string::npos;
    return html ? pageName : pageName + ".html";
}

std::string taskPageName(const std::string &taskName, const std::string &startAddress) {
    constexpr size_t kTaskNameLength = 50;
    if (!taskName.empty()) return taskName;
    std::string named = fileNameOfUrl(startAddress, true, true, kTaskNameLength);
    return named.empty() ? startAddress : named;
}

std::string freePageName(const ExportFolder &folder, const std::string &wanted, size_t length,
                         const std::function<std::string(const std::string &)> &fileOf) {
    std::string name = sanitizeFileName(shortenName(wanted, length, false));
    if (name.empty()) name = "index";
    return firstFreeName(name, [&](const std::string &candidate) {
        return folder.holds(fileOf(candidate)) || folder.holds(companionFolder(candidate));
    });
}

}  // namespace eng
