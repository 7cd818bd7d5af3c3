#include "sys/ErrorText.h"

#include <cstring>
#include <string_view>

#include "sys/InternetErrors.h"

namespace eng {

namespace {

constexpr std::string_view kUnknown = "Unknown error";

std::string trimmed(std::string_view text) {
    const char *space = " \t\r\n\v\f";
    const auto first = text.find_first_not_of(space);
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(space);
    return std::string(text.substr(first, last - first + 1));
}

std::string systemText(uint32_t code) {
    if (code > static_cast<uint32_t>(INT32_MAX)) return std::string(kUnknown);
    char buffer[256];
    // The GNU strerror_r returns the text, which may or may not be in buffer.
    const char *text = strerror_r(static_cast<int>(code), buffer, sizeof buffer);
    std::string result = trimmed(text ? text : "");
    // glibc answers "Unknown error N" for numbers it has no text for.
    if (result.empty() || result.starts_with(kUnknown)) return std::string(kUnknown);
    return result;
}

}  // namespace

std::string errorText(uint32_t code) {
    if (code == 0) return "Ok.";
    if (code >= kInternetErrorFirst && code <= kInternetErrorLast) {
        std::string_view text = internetErrorText(code);
        return text.empty() ? std::string(kUnknown) : trimmed(text);
    }
    return systemText(code);
}

}  // namespace eng
