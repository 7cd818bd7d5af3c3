#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "export/ExportFolder.h"

namespace eng {

// Where an export goes: a folder and, when the destination named a file in
// it, the name of the page to write there.
struct Destination {
    std::string folder;
    std::string pageName;  // empty: none given
};

// The destination is a folder when it ends in '/' or is one; otherwise its
// last name is the page's.
Destination splitDestination(const std::string &path);

// The folder beside a page that holds what the page needs: its name up to
// its last '.' and "_files".
std::string companionFolder(const std::string &pageName);

// The file of a page that opens an export: the name with ".html" unless
// its extension already names an HTML file.
std::string redirectPageFile(const std::string &pageName);

// The name of the page that opens a task's export: the task's name, else
// the file name of its start address (at most 50 characters), else that
// address; not yet sanitised.
std::string taskPageName(const std::string &taskName, const std::string &startAddress);

// The name, sanitised and shortened, numbered ("[n]" before its extension)
// until neither the file it gives (fileOf) nor its companion folder has a
// name in the folder, in any letter case.
std::string freePageName(const ExportFolder &folder, const std::string &wanted, size_t length,
                         const std::function<std::string(const std::string &)> &fileOf);

}  // namespace eng
