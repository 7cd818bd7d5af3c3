#pragma once

#include <cstdint>
#include <string>

namespace eng {

// Which crawl states a search returns, as bits: 1 queued, 2 with errors, 4
// without errors.
enum StateSelectorBits : int32_t {
    kSelectQueued = 1,
    kSelectWithErrors = 2,
    kSelectWithoutErrors = 4,
};

// The SQL condition of a state selector (only its three bits count):
// the states are queued or suspended with bit 1 alone; done with bit 2 or 4,
// queued too when bit 1 is also set; with bit 2 alone only resources with
// errors, with bit 4 alone only those without. Bits 1 and 2 together give the
// done resources with errors and every queued one. No bit selects nothing.
std::string stateCondition(int32_t selector);

}  // namespace eng
