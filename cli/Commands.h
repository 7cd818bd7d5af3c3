#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lark {

// One subcommand of lark: its name, how it is called, what it does.
struct Command {
    std::string_view name;
    std::string_view usage;
    std::string_view summary;
    int (*run)(const std::vector<std::string> &words);
};

// lark's entry point: returns the process exit status.
int runLark(const std::vector<std::string> &words);

}  // namespace lark
