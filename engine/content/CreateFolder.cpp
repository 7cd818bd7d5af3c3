#include "content/CreateFolder.h"

#include <sys/stat.h>

#include <cerrno>

#include "sys/UiHost.h"

namespace eng {

namespace {

bool isFolder(const std::string &path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

bool createFolder(const std::string &path, bool report) {
    // "Already exists" also covers a folder made by someone else meanwhile; a file in the way is no folder.
    if (::mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && isFolder(path))) return true;
    if (report) showEngineMessage("Cant't create directory " + path);
    return false;
}

}  // namespace eng
