#pragma once

#include <string>

#include "lark_parser.h"

namespace eng::parserhost {

// The growable stream that one plug-in call writes its answer to. It takes
// bytes up to the answer's size limit and drops the rest.
class AnswerStream {
public:
    AnswerStream();
    AnswerStream(const AnswerStream &) = delete;
    AnswerStream &operator=(const AnswerStream &) = delete;

    LarkStream *stream() { return &stream_; }
    const std::string &bytes() const { return bytes_; }

private:
    static uint32_t write(LarkStream *self, const void *bytes, uint32_t count);

    LarkStream stream_;
    std::string bytes_;
};

}  // namespace eng::parserhost
