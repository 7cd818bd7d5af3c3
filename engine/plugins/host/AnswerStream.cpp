#include "plugins/host/AnswerStream.h"

#include <algorithm>

#include "plugins/ParserHostProtocol.h"

namespace eng::parserhost {

AnswerStream::AnswerStream() : stream_{this, &AnswerStream::write} {}

uint32_t AnswerStream::write(LarkStream *self, const void *bytes, uint32_t count) {
    if (!self || !self->context || (!bytes && count)) return 0;
    std::string &answer = static_cast<AnswerStream *>(self->context)->bytes_;
    const auto taken = static_cast<uint32_t>(std::min<size_t>(count, kAnswerLimit - answer.size()));
    answer.append(static_cast<const char *>(bytes), taken);
    return taken;
}

}  // namespace eng::parserhost
