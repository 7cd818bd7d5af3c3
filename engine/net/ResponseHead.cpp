#include "net/ResponseHead.h"

#include <charconv>

#include "base/AsciiText.h"

namespace eng {

namespace {
// The most bytes of header fields kept; a server may send fields without end.
constexpr size_t kLongestFields = 256 * 1024;
}  // namespace

void ResponseHead::startResponse(std::string_view line) {
    const auto space = line.find(' ');
    version_ = std::string(line.substr(0, space));
    status_ = 0;
    statusText_.clear();
    fields_.clear();
    fieldBytes_ = 0;
    complete_ = false;
    if (space == std::string_view::npos) return;
    std::string_view rest = trimmedWhite(line.substr(space + 1));
    const auto codeEnd = rest.find(' ');
    const std::string_view code = rest.substr(0, codeEnd);
    std::from_chars(code.data(), code.data() + code.size(), status_);
    if (codeEnd != std::string_view::npos) statusText_ = std::string(trimmedWhite(rest.substr(codeEnd + 1)));
}

void ResponseHead::addLine(std::string_view raw) {
    const std::string_view line = trimmedWhite(raw);
    if (startsWithNoCase(line, "HTTP/")) {
        startResponse(line);
        return;
    }
    if (!isHttp() || complete_) return;
    if (line.empty()) {
        complete_ = status_ >= 200 || status_ < 100;
        return;
    }
    const auto colon = line.find(':');
    if (colon == std::string_view::npos || fieldBytes_ + line.size() > kLongestFields) return;
    fieldBytes_ += line.size();
    fields_.emplace_back(std::string(trimmedWhite(line.substr(0, colon))),
                         std::string(trimmedWhite(line.substr(colon + 1))));
}

std::optional<std::string> ResponseHead::field(std::string_view name) const {
    for (const auto &[fieldName, value] : fields_)
        if (equalsNoCase(fieldName, name)) return value;
    return std::nullopt;
}

uint64_t ResponseHead::contentLength() const {
    const auto text = field("Content-Length");
    if (!text) return 0;
    uint64_t length = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), length);
    return error == std::errc() && end == text->data() + text->size() ? length : 0;
}

}  // namespace eng
