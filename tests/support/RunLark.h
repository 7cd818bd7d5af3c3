#pragma once

#include <string>

namespace test {

struct LarkResult {
    int status;          // exit status, -1 when the program did not exit normally
    std::string output;  // standard output and standard error together
};

// Runs the built lark program with the arguments (a shell word list).
LarkResult runLark(const std::string &arguments);

inline bool contains(const LarkResult &r, const std::string &text) { return r.output.find(text) != std::string::npos; }

}  // namespace test
