#include "support/PeakMemory.h"

#include <malloc.h>

#include <algorithm>
#include <fstream>
#include <string>

namespace test {

namespace {

size_t peakResident() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stoul(line.substr(6)) * 1024;
    return 0;
}

}  // namespace

// Resetting makes the peak the present resident size. Freed memory that the
// allocator still holds is given back first: reusing it would not count.
PeakGrowth::PeakGrowth() {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    start_ = peakResident();
}

size_t PeakGrowth::bytes() const { return std::max(peakResident(), start_) - start_; }

}  // namespace test
