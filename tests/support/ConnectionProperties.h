#pragma once

#include <cstdint>

namespace test {

// Sets the open project's properties for a test: the connection limits and
// retries given, a 30-second time-out, the option bits, no texts. True when
// the engine took them.
bool setConnectionProperties(uint16_t connections, uint16_t perServer, uint16_t retries = 0, uint32_t options = 0);

}  // namespace test
