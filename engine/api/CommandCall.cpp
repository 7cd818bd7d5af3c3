#include "api/CommandCall.h"

namespace eng {

bool CommandCall::run() {
    frame_.stream.seekToStart();
    return EngineProcess::instance().call(command_, reinterpret_cast<intptr_t>(&frame_), wait_);
}

void CommandCall::answer(void **addr, uint32_t *len) {
    DetachedBuffer buffer;
    if (addr) buffer = frame_.stream.detach();
    if (addr) *addr = buffer.data;
    if (len) *len = buffer.length;
}

}  // namespace eng
