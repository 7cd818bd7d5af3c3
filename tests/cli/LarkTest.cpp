#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct LarkRun {
    int status;
    std::string output;
};

LarkRun lark(const std::string &arguments) {
    const std::string command = std::string(LARK_PROGRAM) + " " + arguments + " 2>&1";
    FILE *pipe = popen(command.c_str(), "r");
    LarkRun run{-1, {}};
    if (!pipe) return run;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.output.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace

TEST(Lark, PrintsTheEnginesVersion) {
    for (const char *form : {"--version", "-V", "version"}) {
        LarkRun r = lark(form);
        EXPECT_EQ(r.status, 0) << form;
        EXPECT_EQ(r.output, "lark 1.0.4.0\n") << form;
    }
}

TEST(Lark, HelpListsCommandsAndMistakesExitWithTwo) {
    LarkRun help = lark("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("version"), std::string::npos);
    LarkRun unknown = lark("frobnicate");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.output.find("unknown command \"frobnicate\""), std::string::npos);
    LarkRun extra = lark("version extra");
    EXPECT_EQ(extra.status, 2);
    EXPECT_NE(extra.output.find("unexpected argument \"extra\""), std::string::npos);
    EXPECT_EQ(lark("").status, 2);
}
