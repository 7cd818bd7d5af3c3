#include "sys/CrashGuard.h"

#include <fcntl.h>
#include <pthread.h>
#include <ucontext.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "sys/CrashReport.h"
#include "sys/EngineFolder.h"

namespace eng {

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
constexpr size_t kSignalCount = std::size(kSignals);
constexpr size_t kAlternateStackSize = 64 * 1024;
// A fault this far below the stack's end is taken for an overflow into its guard.
constexpr uintptr_t kGuardReach = 64 * 1024;

// What the handler reads: set up before the handlers are installed, in
// static storage, since the handler can neither allocate nor lock.
struct Guarded {
    std::atomic<bool> active{false};
    pthread_t thread{};
    uintptr_t stackLow = 0;
    uintptr_t stackHigh = 0;
    int64_t localOffset = 0;
    char logPath[4096] = {};
    struct sigaction previous[kSignalCount] = {};
    stack_t previousStack{};
    std::atomic_flag reporting = ATOMIC_FLAG_INIT;
};

Guarded guarded;
char reportBuffer[8192];
char lineBuffer[512];

void writeAll(int fd, const char *bytes, size_t count) {
    while (count > 0) {
        const ssize_t written = ::write(fd, bytes, count);
        if (written <= 0) return;
        bytes += written;
        count -= static_cast<size_t>(written);
    }
}

const char *signalName(int signal) {
    switch (signal) {
        case SIGSEGV:
            return "SIGSEGV";
        case SIGBUS:
            return "SIGBUS";
        case SIGFPE:
            return "SIGFPE";
        default:
            return "SIGILL";
    }
}

void readContext(CrashFacts &facts, const ucontext_t *context) {
#if defined(__x86_64__)
    const greg_t *g = context->uc_mcontext.gregs;
    CrashFacts::Registers &r = facts.registers;
    r.rax = g[REG_RAX], r.rbx = g[REG_RBX], r.rcx = g[REG_RCX], r.rdx = g[REG_RDX];
    r.rsi = g[REG_RSI], r.rdi = g[REG_RDI], r.rbp = g[REG_RBP], r.rsp = g[REG_RSP], r.rip = g[REG_RIP];
    r.r8 = g[REG_R8], r.r9 = g[REG_R9], r.r10 = g[REG_R10], r.r11 = g[REG_R11];
    r.r12 = g[REG_R12], r.r13 = g[REG_R13], r.r14 = g[REG_R14], r.r15 = g[REG_R15];
    r.flags = static_cast<uint32_t>(g[REG_EFL]);
    const auto segments = static_cast<uint64_t>(g[REG_CSGSFS]);  // cs, gs, fs in 16-bit fields
    r.cs = static_cast<uint16_t>(segments), r.gs = static_cast<uint16_t>(segments >> 16);
    r.fs = static_cast<uint16_t>(segments >> 32);
    facts.address = r.rip;
    facts.write = (g[REG_ERR] & 2) != 0;  // the page fault's error code: bit 1 is a write
#else
    (void)facts, (void)context;
#endif
}

// Return addresses along the chain of frame pointers, read only inside the
// thread's stack, where every byte is mapped.
void walkStack(CrashFacts &facts) {
    uintptr_t frame = facts.registers.rbp;
    for (uint64_t &slot : facts.stack) {
        if (frame < guarded.stackLow || frame > guarded.stackHigh - 2 * sizeof(uintptr_t) ||
            frame % sizeof(uintptr_t) != 0)
            return;
        const auto *words = reinterpret_cast<const uintptr_t *>(frame);
        slot = words[1];
        if (words[0] <= frame) return;
        frame = words[0];
    }
}

CrashFacts factsOf(int signal, const siginfo_t *info, const ucontext_t *context) {
    CrashFacts facts;
    const CrashKind kind = crashKind(signal, info->si_code);
    facts.code = kind.code;
    facts.signalName = signalName(signal);
    const auto touched = reinterpret_cast<uintptr_t>(info->si_addr);
    facts.address = signal == SIGSEGV ? 0 : touched;  // the other signals give the instruction
    readContext(facts, context);
    if (signal == SIGSEGV) {
        facts.accessAddress = touched;
        if (touched < guarded.stackLow && touched + kGuardReach >= guarded.stackLow) facts.code = 0xC00000FD;
    }
    walkStack(facts);
    return facts;
}

void report(int signal, const siginfo_t *info, const ucontext_t *context) {
    const CrashFacts facts = factsOf(signal, info, context);

    CrashText line(lineBuffer, sizeof lineBuffer);
    line.text("There has been a critical error in Sitelark Engine: ");
    describeCrash(line, facts);
    line.text("\nThe report is added to ").text(guarded.logPath).text("\n");
    writeAll(STDERR_FILENO, line.data(), line.size());

    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    CrashText entry(reportBuffer, sizeof reportBuffer);
    crashTimeLine(entry, now.tv_sec, guarded.localOffset);
    formatCrashReport(entry, facts);
    entry.text("\n");
    const int fd = ::open(guarded.logPath, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return;
    writeAll(fd, entry.data(), entry.size());
    ::close(fd);
}

// Hands the signal to what handled it before; with no handler of its own
// the default action ends the process, at once for a signal that was sent,
// and for a fault when its instruction runs again.
void passOn(int signal, siginfo_t *info, void *context) {
    size_t k = 0;
    while (k < kSignalCount && kSignals[k] != signal) ++k;
    const struct sigaction &before = guarded.previous[k];
    if ((before.sa_flags & SA_SIGINFO) && before.sa_sigaction) return before.sa_sigaction(signal, info, context);
    if (!(before.sa_flags & SA_SIGINFO) && before.sa_handler != SIG_DFL && before.sa_handler != SIG_IGN)
        return before.sa_handler(signal);
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigaction(signal, &fallback, nullptr);
    if (info->si_code <= 0) raise(signal);
}

void onFault(int signal, siginfo_t *info, void *context) {
    const bool ours = guarded.active.load() && pthread_equal(pthread_self(), guarded.thread);
    if (ours && !guarded.reporting.test_and_set()) report(signal, info, static_cast<const ucontext_t *>(context));
    passOn(signal, info, context);
}

void noteStackBounds() {
    pthread_attr_t attributes;
    if (pthread_getattr_np(pthread_self(), &attributes) != 0) return;
    void *low = nullptr;
    size_t size = 0;
    if (pthread_attr_getstack(&attributes, &low, &size) == 0) {
        guarded.stackLow = reinterpret_cast<uintptr_t>(low);
        guarded.stackHigh = guarded.stackLow + size;
    }
    pthread_attr_destroy(&attributes);
}

int64_t localOffsetNow() {
    const time_t now = time(nullptr);
    tm local{};
    return localtime_r(&now, &local) ? local.tm_gmtoff : 0;
}

std::filesystem::path userDataFolder() {
    if (const char *data = std::getenv("XDG_DATA_HOME"); data && *data) return std::filesystem::path(data) / "Quenmar";
    const char *home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : "/tmp") / ".local" / "share" / "Quenmar";
}

}  // namespace

std::string CrashGuard::crashLogPath() {
    std::filesystem::path folder = engineFolder();
    if (folder.empty() || ::access(folder.c_str(), W_OK) != 0) {
        folder = userDataFolder();
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
    }
    return (folder / "engine_err.txt").string();
}

CrashGuard::CrashGuard() : alternateStack_(std::make_unique<char[]>(kAlternateStackSize)) {
    const std::string path = crashLogPath();
    path.copy(guarded.logPath, sizeof guarded.logPath - 1);
    guarded.logPath[std::min(path.size(), sizeof guarded.logPath - 1)] = '\0';
    guarded.thread = pthread_self();
    guarded.localOffset = localOffsetNow();
    noteStackBounds();
    guarded.reporting.clear();

    const stack_t alternate{alternateStack_.get(), 0, kAlternateStackSize};
    sigaltstack(&alternate, &guarded.previousStack);
    struct sigaction action {};
    action.sa_sigaction = onFault;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (size_t k = 0; k < kSignalCount; ++k) sigaction(kSignals[k], &action, &guarded.previous[k]);
    guarded.active = true;
}

CrashGuard::~CrashGuard() {
    guarded.active = false;
    for (size_t k = 0; k < kSignalCount; ++k) sigaction(kSignals[k], &guarded.previous[k], nullptr);
    sigaltstack(&guarded.previousStack, nullptr);
}

}  // namespace eng
