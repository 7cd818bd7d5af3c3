#pragma once

#include <cstdint>

#include "core/MemoryStream.h"

namespace eng {

// The arguments and answer of one command: the calling thread writes the
// arguments, the engine thread reads them and leaves records in the stream
// and/or a number in the result.
struct CallFrame {
    MemoryStream stream;
    int32_t result = 0;
};

}  // namespace eng
