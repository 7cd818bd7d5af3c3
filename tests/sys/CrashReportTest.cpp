#include "sys/CrashReport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

namespace {

std::string text(void (*write)(eng::CrashText &)) {
    static char buffer[8192];
    eng::CrashText out(buffer, sizeof buffer);
    write(out);
    return std::string(out.data(), out.size());
}

}  // namespace

TEST(CrashReport, SignalsAreNamedAsTheirExceptions) {
    EXPECT_STREQ(eng::crashKind(SIGFPE, FPE_INTDIV).name, "INT_DIVIDE_BY_ZERO");
    EXPECT_EQ(eng::crashKind(SIGFPE, FPE_INTDIV).code, 0xC0000094u);
    EXPECT_STREQ(eng::crashKind(SIGFPE, FPE_FLTINV).name, "FLT_INVALID_OPERATION");
    EXPECT_STREQ(eng::crashKind(SIGSEGV, SEGV_MAPERR).name, "ACCESS_VIOLATION");
    EXPECT_STREQ(eng::crashKind(SIGILL, ILL_PRVOPC).name, "PRIV_INSTRUCTION");
    EXPECT_STREQ(eng::crashKind(SIGBUS, BUS_ADRALN).name, "DATATYPE_MISALIGNMENT");
    EXPECT_STREQ(eng::crashName(0x12345678), "Unknown exception.");
}

// The whole report of an access violation that wrote, with a stack of three
// frames: the layout a reader of the log relies on, and the description.
TEST(CrashReport, AnAccessViolationReportsWhatItTriedAndWhere) {
    static eng::CrashFacts facts;
    facts.code = 0xC0000005;
    facts.address = 0x401a2b;
    facts.write = true;
    facts.accessAddress = 0x10;
    facts.signalName = "SIGSEGV";
    facts.registers.rax = 1, facts.registers.rip = 0x401a2b, facts.registers.cs = 0x33, facts.registers.flags = 0x246;
    facts.registers.r15 = 0xffffffffffffffff;
    facts.stack[0] = 0xaa, facts.stack[1] = 0xbb, facts.stack[2] = 0xcc;

    EXPECT_EQ(text([](eng::CrashText &out) { eng::describeCrash(out, facts); }),
              "Exception ACCESS_VIOLATION (0xc0000005) at address 0x0000000000401a2b trying to write address "
              "0x0000000000000010.");
    const std::string zero(16, '0'), indent = "               : ";
    const std::string report = text([](eng::CrashText &out) { eng::formatCrashReport(out, facts); });
    EXPECT_EQ(report.substr(0, report.find("Registers")),
              "File Version    :1.0.4.0\r\n\r\n"
              "Exception      : c0000005\r\n"
              "Address        : 0000000000401a2b\r\n"
              "Access Type    : write\r\n"
              "Access Address : 0000000000000010\r\n"
              "Signal         : SIGSEGV\r\n\r\n");
    EXPECT_NE(report.find("Registers      : RAX=0000000000000001 CS=0033 RIP=0000000000401a2b EFLGS=00000246\r\n" +
                          indent + "RBX="),
              std::string::npos)
        << report;
    EXPECT_NE(report.find(" R15=ffffffffffffffff\r\n\r\nStack Trace    : 00000000000000aa 00000000000000bb "
                          "00000000000000cc " +
                          zero + "\r\n" + indent + zero + " "),
              std::string::npos)
        << report;
    EXPECT_EQ(report.substr(report.size() - 2), "\r\n");
    size_t stackLines = 0;
    for (size_t at = report.find("Stack Trace"); at < report.size(); at = report.find("\r\n", at) + 2) ++stackLines;
    EXPECT_EQ(stackLines, 8u);
}

TEST(CrashReport, OtherExceptionsHaveNoAccessAndTheTimeIsLocal) {
    static eng::CrashFacts facts;
    facts.code = 0xC0000094;
    facts.address = 0x1234;
    facts.accessAddress = 0x99;  // not an access violation: not reported
    EXPECT_EQ(text([](eng::CrashText &out) { eng::describeCrash(out, facts); }),
              "Exception INT_DIVIDE_BY_ZERO (0xc0000094) at address 0x0000000000001234.");
    const std::string report = text([](eng::CrashText &out) { eng::formatCrashReport(out, facts); });
    EXPECT_NE(report.find("Access Type    : NA\r\nAccess Address : 0000000000000000\r\n"), std::string::npos);

    EXPECT_EQ(text([](eng::CrashText &out) { eng::crashTimeLine(out, 1709210096, 0); }), "29.02.24 12:34:56\n");
    EXPECT_EQ(text([](eng::CrashText &out) { eng::crashTimeLine(out, 0, 3600); }), "01.01.70 01:00:00\n");
    EXPECT_EQ(text([](eng::CrashText &out) { eng::crashTimeLine(out, 1767225599, -3600); }), "31.12.25 22:59:59\n");
}

// A report longer than its buffer is cut, never written past the end.
TEST(CrashReport, TextBeyondTheBufferIsDropped) {
    char buffer[8] = {};
    eng::CrashText out(buffer, 6);
    out.text("abc").hex(0xdef, 4);
    EXPECT_EQ(std::string(out.data()), "abc0d");
    EXPECT_EQ(buffer[6], '\0');
    EXPECT_EQ(buffer[7], '\0');
}
