#pragma once

#include <cstddef>

namespace test {

// Whether peak memory says anything of the code: a sanitizer's shadow memory
// and its quarantine of freed blocks make it far larger than the code's own.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kMemoryMeasurable = false;
#else
inline constexpr bool kMemoryMeasurable = true;
#endif

// How far the peak resident memory of this process (VmHWM) rises, from the
// object's making on, above what was resident then.
class PeakGrowth {
public:
    PeakGrowth();
    size_t bytes() const;

private:
    size_t start_;
};

}  // namespace test
