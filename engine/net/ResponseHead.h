#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace eng {

// The status line and header fields of an HTTP response, collected line by
// line as they arrive. A new status line (an interim 1xx answer, or the
// answer after a proxy's) starts the head afresh. Fields past the first
// 256 KiB of them are ignored.
class ResponseHead {
public:
    // Takes one line as received, with or without its line end. Lines before
    // the first status line (an FTP server's replies) are ignored.
    void addLine(std::string_view line);

    // A final (non-1xx) status line and the blank line after its fields arrived.
    bool complete() const { return complete_; }
    // A status line arrived at all: the answer was HTTP.
    bool isHttp() const { return !version_.empty(); }

    const std::string &version() const { return version_; }
    uint32_t status() const { return status_; }
    const std::string &statusText() const { return statusText_; }
    // The first field of that name (compared without regard to case).
    std::optional<std::string> field(std::string_view name) const;
    // Content-Length as a number; 0 when absent or not a number.
    uint64_t contentLength() const;

private:
    void startResponse(std::string_view statusLine);

    std::string version_;
    uint32_t status_ = 0;
    std::string statusText_;
    std::vector<std::pair<std::string, std::string>> fields_;
    size_t fieldBytes_ = 0;
    bool complete_ = false;
};

}  // namespace eng
