#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace lark {

// Prints the open project's folder tree, one folder a line, indented by depth.
void printFolderTree(std::ostream &out, int indent);

// lark folders PROJECT
int listFolders(const std::vector<std::string> &words);
// lark mkdir PROJECT PARENT NAME
int makeFolder(const std::vector<std::string> &words);

}  // namespace lark
