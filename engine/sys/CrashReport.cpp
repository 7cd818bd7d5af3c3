#include "sys/CrashReport.h"

#include <csignal>

#include "engine.h"

namespace eng {

namespace {

struct NamedCode {
    uint32_t code;
    const char *name;
};

constexpr NamedCode kNames[] = {
    {0x80000001, "GUARD_PAGE"},
    {0x80000002, "DATATYPE_MISALIGNMENT"},
    {0x80000003, "BREAKPOINT"},
    {0x80000004, "SINGLE_STEP"},
    {0xC0000005, "ACCESS_VIOLATION"},
    {0xC0000006, "IN_PAGE_ERROR"},
    {0xC0000008, "INVALID_HANDLE"},
    {0xC000001D, "ILLEGAL_INSTRUCTION"},
    {0xC0000025, "NONCONTINUABLE_EXCEPTION"},
    {0xC0000026, "INVALID_DISPOSITION"},
    {0xC000008C, "ARRAY_BOUNDS_EXCEEDED"},
    {0xC000008D, "FLT_DENORMAL_OPERAND"},
    {0xC000008E, "FLT_DIVIDE_BY_ZERO"},
    {0xC000008F, "FLT_INEXACT_RESULT"},
    {0xC0000090, "FLT_INVALID_OPERATION"},
    {0xC0000091, "FLT_OVERFLOW"},
    {0xC0000092, "FLT_STACK_CHECK"},
    {0xC0000093, "FLT_UNDERFLOW"},
    {0xC0000094, "INT_DIVIDE_BY_ZERO"},
    {0xC0000095, "INT_OVERFLOW"},
    {0xC0000096, "PRIV_INSTRUCTION"},
    {0xC00000FD, "STACK_OVERFLOW"},
};

constexpr uint32_t kAccessViolation = 0xC0000005;
constexpr const char *kIndent = "               : ";

uint32_t arithmeticCode(int signalCode) {
    switch (signalCode) {
        case FPE_INTDIV:
            return 0xC0000094;
        case FPE_INTOVF:
            return 0xC0000095;
        case FPE_FLTDIV:
            return 0xC000008E;
        case FPE_FLTOVF:
            return 0xC0000091;
        case FPE_FLTUND:
            return 0xC0000093;
        case FPE_FLTRES:
            return 0xC000008F;
        case FPE_FLTSUB:
            return 0xC000008C;
        default:
            return 0xC0000090;
    }
}

uint32_t signalCodeOf(int signal, int signalCode) {
    switch (signal) {
        case SIGSEGV:
            return kAccessViolation;
        case SIGFPE:
            return arithmeticCode(signalCode);
        case SIGILL:
            return signalCode == ILL_PRVOPC || signalCode == ILL_PRVREG ? 0xC0000096 : 0xC000001D;
        case SIGBUS:
            return signalCode == BUS_ADRALN ? 0x80000002 : 0xC0000006;
        default:
            return 0;
    }
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void civilDate(int64_t days, int64_t &year, unsigned &month, unsigned &day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    year = static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2);
}

}  // namespace

const char *crashName(uint32_t code) {
    for (const NamedCode &named : kNames)
        if (named.code == code) return named.name;
    return "Unknown exception.";
}

CrashKind crashKind(int signal, int signalCode) {
    const uint32_t code = signalCodeOf(signal, signalCode);
    return {code, crashName(code)};
}

CrashText &CrashText::put(char c) {
    if (size_ + 1 < capacity_) {
        buffer_[size_++] = c;
        buffer_[size_] = '\0';
    }
    return *this;
}

CrashText &CrashText::text(const char *s) {
    while (*s) put(*s++);
    return *this;
}

CrashText &CrashText::hex(uint64_t value, int digits) {
    char reversed[16];
    int count = 0;
    do {
        reversed[count++] = "0123456789abcdef"[value & 15];
        value >>= 4;
    } while (value != 0 && count < 16);
    for (int pad = count; pad < digits; ++pad) put('0');
    while (count > 0) put(reversed[--count]);
    return *this;
}

CrashText &CrashText::decimal(uint64_t value, int digits) {
    char reversed[20];
    int count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int pad = count; pad < digits; ++pad) put('0');
    while (count > 0) put(reversed[--count]);
    return *this;
}

void describeCrash(CrashText &out, const CrashFacts &facts) {
    out.text("Exception ").text(crashName(facts.code)).text(" (0x").hex(facts.code, 8).text(") at address 0x");
    out.hex(facts.address, 16);
    if (facts.code == kAccessViolation)
        out.text(" trying to ").text(facts.write ? "write" : "read").text(" address 0x").hex(facts.accessAddress, 16);
    out.text(".");
}

void formatCrashReport(CrashText &out, const CrashFacts &facts) {
    const bool access = facts.code == kAccessViolation;
    out.text("File Version    :" ENG_VERSION "\r\n\r\n");
    out.text("Exception      : ").hex(facts.code, 8).text("\r\n");
    out.text("Address        : ").hex(facts.address, 16).text("\r\n");
    out.text("Access Type    : ").text(access ? (facts.write ? "write" : "read") : "NA").text("\r\n");
    out.text("Access Address : ").hex(access ? facts.accessAddress : 0, 16).text("\r\n");
    out.text("Signal         : ").text(facts.signalName).text("\r\n\r\n");

    const CrashFacts::Registers &r = facts.registers;
    out.text("Registers      : RAX=").hex(r.rax, 16).text(" CS=").hex(r.cs, 4).text(" RIP=").hex(r.rip, 16);
    out.text(" EFLGS=").hex(r.flags, 8).text("\r\n");
    out.text(kIndent).text("RBX=").hex(r.rbx, 16).text(" SS=").hex(r.ss, 4).text(" RSP=").hex(r.rsp, 16);
    out.text(" RBP=").hex(r.rbp, 16).text("\r\n");
    out.text(kIndent).text("RCX=").hex(r.rcx, 16).text(" DS=").hex(r.ds, 4).text(" RSI=").hex(r.rsi, 16);
    out.text(" FS=").hex(r.fs, 4).text("\r\n");
    out.text(kIndent).text("RDX=").hex(r.rdx, 16).text(" ES=").hex(r.es, 4).text(" RDI=").hex(r.rdi, 16);
    out.text(" GS=").hex(r.gs, 4).text("\r\n");
    out.text(kIndent).text("R8=").hex(r.r8, 16).text(" R9=").hex(r.r9, 16).text(" R10=").hex(r.r10, 16);
    out.text(" R11=").hex(r.r11, 16).text("\r\n");
    out.text(kIndent).text("R12=").hex(r.r12, 16).text(" R13=").hex(r.r13, 16).text(" R14=").hex(r.r14, 16);
    out.text(" R15=").hex(r.r15, 16).text("\r\n\r\n");

    for (size_t line = 0; line < facts.stack.size() / 4; ++line) {
        out.text(line == 0 ? "Stack Trace    : " : kIndent);
        for (size_t k = 0; k < 4; ++k) out.text(k ? " " : "").hex(facts.stack[line * 4 + k], 16);
        out.text("\r\n");
    }
}

void crashTimeLine(CrashText &out, int64_t unixSeconds, int64_t localOffsetSeconds) {
    const int64_t local = unixSeconds + localOffsetSeconds;
    const int64_t days = (local >= 0 ? local : local - 86399) / 86400;
    const int64_t secondOfDay = local - days * 86400;
    int64_t year = 0;
    unsigned month = 0, day = 0;
    civilDate(days, year, month, day);
    out.decimal(day, 2).text(".").decimal(month, 2).text(".").decimal(static_cast<uint64_t>(year % 100), 2);
    out.text(" ").decimal(static_cast<uint64_t>(secondOfDay / 3600), 2).text(":");
    out.decimal(static_cast<uint64_t>(secondOfDay / 60 % 60), 2).text(":");
    out.decimal(static_cast<uint64_t>(secondOfDay % 60), 2).text("\n");
}

}  // namespace eng
