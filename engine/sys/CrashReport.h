#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace eng {

// What is known of a processor fault on the engine thread, taken from the
// signal's information and the interrupted context.
struct CrashFacts {
    uint32_t code = 0;           // the exception code (see crashName)
    uint64_t address = 0;        // of the faulting instruction
    bool write = false;          // an access violation that wrote
    uint64_t accessAddress = 0;  // what an access violation touched; 0 otherwise
    const char *signalName = "";
    // The general registers as the fault left them, in the report's order
    // (see formatCrashReport); all 0 where the processor is not known.
    struct Registers {
        uint64_t rax = 0, rbx = 0, rcx = 0, rdx = 0, rsi = 0, rdi = 0, rbp = 0, rsp = 0, rip = 0;
        uint64_t r8 = 0, r9 = 0, r10 = 0, r11 = 0, r12 = 0, r13 = 0, r14 = 0, r15 = 0;
        uint32_t flags = 0;
        uint16_t cs = 0, ss = 0, ds = 0, es = 0, fs = 0, gs = 0;
    } registers;
    std::array<uint64_t, 32> stack{};  // return addresses from the faulting frame on; 0 past the chain's end
};

// The exception code and name of a signal as its si_code refines it:
// SIGSEGV is an access violation (or a stack overflow when it hit the guard
// below the thread's stack), SIGFPE a divide by zero, overflow or other
// arithmetic fault, SIGILL an illegal or privileged instruction, SIGBUS a
// misaligned access or a page that could not be read in.
struct CrashKind {
    uint32_t code;
    const char *name;  // "Unknown exception." for a code outside the table
};
CrashKind crashKind(int signal, int signalCode);
const char *crashName(uint32_t code);

// Text written while a fault is handled: into a fixed buffer, without
// allocating, locking or formatting through the C library, all of which may
// be what the fault interrupted. Text that does not fit is dropped.
class CrashText {
public:
    CrashText(char *buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) {}
    CrashText &text(const char *s);
    CrashText &hex(uint64_t value, int digits);
    // At least `digits` decimal digits, with leading zeros.
    CrashText &decimal(uint64_t value, int digits = 1);
    const char *data() const { return buffer_; }
    size_t size() const { return size_; }

private:
    CrashText &put(char c);

    char *buffer_;
    size_t capacity_;
    size_t size_ = 0;
};

// The one-line description: "Exception NAME (0xCODE) at address 0xADDRESS."
// and, for an access violation, "... trying to read|write address 0xADDRESS.".
void describeCrash(CrashText &out, const CrashFacts &facts);

// The report, every line ending in CR LF: the engine's file version, the
// exception with its code, address, access type ("read", "write" or "NA")
// and accessed address, the signal, the registers (64-bit, with R8 to R15 on
// two lines of their own), and 32 return addresses in eight lines of four.
// Addresses are written with 16 hex digits, codes with 8.
void formatCrashReport(CrashText &out, const CrashFacts &facts);

// The log entry's first line, "dd.mm.yy hh:mm:ss" and a line feed, for a
// time in seconds since 1970 shifted to local time by the offset.
void crashTimeLine(CrashText &out, int64_t unixSeconds, int64_t localOffsetSeconds);

}  // namespace eng
