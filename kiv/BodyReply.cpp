#include "BodyReply.h"

#include <cstring>

namespace kiv {

namespace {

// Reads the fields of a record in order; failed once a field runs past the end.
class RecordReader {
public:
    explicit RecordReader(std::span<const uint8_t> record) : rest_(record) {}

    uint32_t number() {
        uint32_t value = 0;
        if (take(sizeof value)) std::memcpy(&value, taken_.data(), sizeof value);
        return value;
    }
    std::string text() {
        const uint32_t length = number();
        if (!take(length)) return {};
        return std::string(reinterpret_cast<const char *>(taken_.data()), taken_.size());
    }
    bool failed() const { return failed_; }

private:
    bool take(size_t size) {
        if (failed_ || rest_.size() < size) {
            failed_ = true;
            return false;
        }
        taken_ = rest_.first(size);
        rest_ = rest_.subspan(size);
        return true;
    }

    std::span<const uint8_t> rest_;
    std::span<const uint8_t> taken_;
    bool failed_ = false;
};

}  // namespace

std::optional<BodyReply> BodyReply::parse(std::span<const uint8_t> record) {
    RecordReader in(record);
    BodyReply reply;
    reply.status = in.number();
    reply.mainPage = in.number() != 0;
    if (reply.status != 0) {
        reply.urlResId = in.number();
    } else {
        reply.finalAddress = in.text();
        reply.contentType = in.text();
        reply.body = in.text();
        reply.waitToken = in.number();
    }
    if (in.failed()) return std::nullopt;
    return reply;
}

}  // namespace kiv
