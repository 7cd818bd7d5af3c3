#pragma once

#include <cstddef>

namespace test {

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
