#pragma once

#include <string>
#include <vector>

namespace lark {

// lark run PROJECT [--connections N] [--per-server N] [--retries N] [--timeout S] [--pause S] [--for SECONDS]
int runProject(const std::vector<std::string> &words);
// lark mirror URL [-o PROJECT] [task options] [run options]
int mirrorSite(const std::vector<std::string> &words);

}  // namespace lark
