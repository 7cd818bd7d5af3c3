#pragma once

#include <cstddef>

namespace test {

// The peak resident memory of this process (VmHWM) since the last reset.
size_t peakResident();
// Makes the peak resident memory the present one, so that what follows is measured alone.
void resetPeakResident();

}  // namespace test
