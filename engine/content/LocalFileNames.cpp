#include "content/LocalFileNames.h"

#include <algorithm>
#include <optional>

#include "base/AsciiText.h"
#include "base/FitText.h"
#include "base/Url.h"

namespace eng {

namespace {

constexpr std::string_view kFileNameForbidden = "/:*?\"<>|\\";

// Where the extension's '.' is: the last one of the last backslash-separated
// component, as Windows paths are read; npos when there is none.
size_t extensionDot(std::string_view name) {
    const size_t dot = name.rfind('.');
    const size_t backslash = name.rfind('\\');
    return backslash != std::string_view::npos && dot < backslash ? std::string_view::npos : dot;
}

// The text past the first "://", or all of it.
std::string_view afterScheme(std::string_view url) {
    const size_t mark = url.find("://");
    return mark == std::string_view::npos ? url : url.substr(mark + 3);
}

}  // namespace

UrlExtension extensionOfUrl(std::string_view url) {
    const bool http = startsWithNoCase(url, "http");
    std::string_view object = url;
    size_t offset = 0;
    if (http) {
        const std::optional<url::Parts> parts = url::split(url);
        if (!parts) return {"", std::string_view::npos};
        offset = url.size() - parts->path.size() - parts->extra.size();
        object = url.substr(offset, parts->path.size());
    }
    const size_t dot = extensionDot(object);
    if (dot == std::string_view::npos) return {"", std::string_view::npos};
    std::string_view extension = object.substr(dot + 1);
    if (http) extension = extension.substr(0, extension.find('/'));
    return {std::string(extension), offset + dot + 1};
}

std::string fileNameOfUrl(std::string_view url, bool sanitise, bool keepExtension, size_t maxLength) {
    const std::string_view rest = afterScheme(url);
    std::string_view name;
    if (const size_t question = rest.find('?'); question == std::string_view::npos) {
        size_t separator = rest.rfind('/');
        if (separator == std::string_view::npos) separator = rest.rfind('\\');
        if (separator != std::string_view::npos) name = rest.substr(separator + 1);
    } else if (const size_t separator = rest.find_last_of("/\\", question); separator != std::string_view::npos) {
        name = rest.substr(separator + 1, question - separator - 1);
    }
    const std::string fitted = keepExtension ? shortenName(name, maxLength, false) : fitText(name, maxLength);
    return sanitise ? sanitizeFileName(fitted) : fitted;
}

std::vector<std::string> pathSegmentsOfUrl(std::string_view url, bool sanitise, bool shorten, size_t maxLength) {
    std::vector<std::string> segments;
    const auto add = [&](const std::string &segment) {
        if (!segment.empty()) segments.push_back(asciiLowered(sanitise ? sanitizeFileName(segment) : segment));
    };
    const std::string_view rest = afterScheme(url);
    size_t start = 0;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] != '/' && rest[i] != '\\' && rest[i] != '?') continue;
        add(fitText(rest.substr(start, i - start), maxLength));
        start = i + 1;
        // The whole query is one last segment.
        if (rest[i] == '?') break;
    }
    const std::string_view last = rest.substr(start);
    add(shorten ? shortenName(last, maxLength, false) : std::string(last));
    return segments;
}

std::string shortenName(std::string_view name, size_t maxLength, bool plain) {
    const size_t dot = name.rfind('.');
    if (plain || dot == std::string_view::npos) return fitText(name, maxLength);
    return fitText(name.substr(0, dot), maxLength) + "." + fitText(name.substr(dot + 1), 4);
}

std::string sanitizeFileName(std::string_view text) {
    std::string out(text);
    std::replace_if(
        out.begin(), out.end(),
        [](char c) { return c == '\0' || kFileNameForbidden.find(c) != std::string_view::npos; }, '_');
    // "." and ".." name the folder itself and the one above it, never a file.
    if (out == "." || out == "..") out.assign(out.size(), '_');
    return out;
}

std::string htmlFileName(std::string_view name) {
    const size_t dot = extensionDot(name);
    if (dot == std::string_view::npos) return std::string(name) + ".html";
    if (name.substr(dot + 1) == "htm") return std::string(name);
    return std::string(name.substr(0, dot)) + ".html";
}

}  // namespace eng
