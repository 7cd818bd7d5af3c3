#pragma once

#include <string>
#include <vector>

namespace lark {

// lark new PROJECT [--force]: a new, empty project from the template.
int newProject(const std::vector<std::string> &words);
// lark info PROJECT: version, row counts and the folder tree.
int projectInfo(const std::vector<std::string> &words);
// lark compact PROJECT
int compactProject(const std::vector<std::string> &words);
// lark repair PROJECT: a sound file is left alone; a damaged one is rebuilt,
// kept beside as PROJECT.damaged, and the rows saved and lost are listed.
int repairProject(const std::vector<std::string> &words);

}  // namespace lark
