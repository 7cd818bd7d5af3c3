#pragma once

#include <cstdint>

#include "api/EngineProcess.h"
#include "core/CallFrame.h"

namespace eng {

// One command-backed export call: the arguments go into the frame's stream,
// the command is posted with the frame's address, and the answer is read
// back as the frame's result and/or its records.
class CommandCall {
public:
    CommandCall(uint32_t command, Wait wait) : command_(command), wait_(wait) {}

    MemoryStream &args() { return frame_.stream; }
    // For exports that carry their single argument in the result slot.
    void setResult(int32_t value) { frame_.result = value; }

    // Posts and waits; false when no project is open (nothing was posted).
    bool run();
    int32_t result() const { return frame_.result; }
    // Hands the records to the caller, or a null address and 0 when there
    // are none. With no cell for the address the records are dropped.
    void answer(void **addr, uint32_t *len);

private:
    uint32_t command_;
    Wait wait_;
    CallFrame frame_;
};

}  // namespace eng
