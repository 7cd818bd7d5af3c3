#include "base/PageCharset.h"

#include <optional>

#include "base/AsciiSearch.h"
#include "base/AsciiText.h"
#include "base/Charset.h"
#include "base/IconvConverter.h"
#include "base/TagAttribute.h"

namespace eng {

namespace {

// The text after "charset=", to the end; nullopt when there is none.
std::optional<std::string_view> charsetParameter(std::string_view contentType) {
    constexpr std::string_view kParameter = "charset=";
    const size_t at = findNoCase(contentType, kParameter);
    if (at == std::string_view::npos) return std::nullopt;
    return contentType.substr(at + kParameter.size());
}

bool isUtf8Name(std::string_view name) { return equalsNoCase(name, "utf-8") || equalsNoCase(name, "utf8"); }

}  // namespace

std::string charsetNamed(std::string_view name) {
    if (const CharsetIndex known = charsetOfName(name); known != CharsetIndex::Unknown)
        return std::string(iconvName(known));
    const size_t first = name.find_first_not_of(" \t\"'");
    const size_t last = name.find_last_not_of(" \t\"'");
    if (first == std::string_view::npos) return {};
    const std::string written(name.substr(first, last - first + 1));
    if (isUtf8Name(written) || !IconvConverter::convertsToUtf8(written)) return {};
    return written;
}

std::string contentTypeCharset(std::string_view contentType) {
    const auto parameter = charsetParameter(contentType);
    return parameter ? charsetNamed(*parameter) : std::string();
}

std::optional<std::string> declaredCharsetName(std::string_view contentType, std::string_view page) {
    if (const auto parameter = charsetParameter(contentType)) return std::string(*parameter);
    if (const auto meta = findTagAttribute(page, "meta", "http-equiv", "content-type", "content"))
        if (const auto parameter = charsetParameter(*meta)) return std::string(*parameter);
    return findTagAttribute(page, "meta", "charset", "", "charset");
}

std::string pageCharset(std::string_view contentType, std::string_view page) {
    const auto name = declaredCharsetName(contentType, page);
    return name ? charsetNamed(*name) : std::string();
}

}  // namespace eng
