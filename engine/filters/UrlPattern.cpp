#include "filters/UrlPattern.h"

#include "base/AsciiText.h"

namespace eng {

namespace {

bool startsWithKnownScheme(std::string_view pattern) {
    const size_t separator = pattern.substr(0, 8).find("://");
    if (separator == std::string_view::npos) return false;
    const std::string_view scheme = pattern.substr(0, separator);
    return startsWithNoCase(scheme, "http") || startsWithNoCase(scheme, "ftp") || startsWithNoCase(scheme, "file");
}

}  // namespace

std::string completedPattern(std::string_view pattern) {
    if (pattern.starts_with('*') || startsWithKnownScheme(pattern)) return std::string(pattern);
    return "*" + std::string(pattern);
}

}  // namespace eng
