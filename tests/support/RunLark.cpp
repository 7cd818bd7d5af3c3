#include "support/RunLark.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>

namespace test {

LarkResult runLark(const std::string &arguments) {
    const std::string command = std::string(LARK_PROGRAM) + " " + arguments + " 2>&1";
    LarkResult run{-1, {}};
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.output.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace test
