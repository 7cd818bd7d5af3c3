#pragma once

#include <iconv.h>

#include <string>
#include <string_view>

namespace eng {

// A conversion between two charsets by glibc's iconv, closed when it goes
// out of scope.
class IconvConverter {
public:
    // Throws std::system_error when iconv converts neither way between them.
    IconvConverter(const std::string &to, const std::string &from);
    ~IconvConverter();
    IconvConverter(const IconvConverter &) = delete;
    IconvConverter &operator=(const IconvConverter &) = delete;

    // Converts from the front of in, appending to out, until in is used up
    // (true) or stops at bytes that cannot be converted (false).
    bool convert(std::string_view &in, std::string &out);

    // Whether iconv converts from the charset to UTF-8.
    static bool convertsToUtf8(const std::string &from);

private:
    iconv_t cd_;
};

}  // namespace eng
