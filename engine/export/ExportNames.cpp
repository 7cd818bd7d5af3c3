#include "export/ExportNames.h"

#include <algorithm>

#include "base/PercentDecoding.h"
#include "content/LocalFileNames.h"

namespace eng {
namespace {

constexpr size_t kDefaultSegmentLength = 100;

std::string_view afterScheme(std::string_view address) {
    const size_t scheme = address.find("://");
    return scheme == std::string_view::npos ? address : address.substr(scheme + 3);
}

std::string decodedName(std::string_view part) { return sanitizeFileName(percentDecoded(part)); }

std::string numberedName(const std::string &name, size_t number) {
    const size_t dot = name.rfind('.');
    const std::string tag = "[" + std::to_string(number) + "]";
    if (dot == std::string::npos || dot == 0) return name + tag;
    return name.substr(0, dot) + tag + name.substr(dot);
}

}  // namespace

std::vector<std::string> exportSegments(std::string_view address, size_t maxLength) {
    const size_t length = maxLength == 0 ? kDefaultSegmentLength : maxLength;
    const std::string_view rest = afterScheme(address);
    const size_t query = rest.find('?');
    const std::string_view path = rest.substr(0, query);
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/' && path[i] != '\\') continue;
        if (i > start) parts.push_back(path.substr(start, i - start));
        start = i + 1;
    }
    if (query != std::string_view::npos && query + 1 < rest.size()) parts.push_back(rest.substr(query + 1));
    std::vector<std::string> names;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string name = decodedName(parts[i]);
        // Only a given length shortens a file name keeping its extension; the
        // default limit cuts plainly. A cut may leave "." or ".." again, so the
        // cut name is sanitised once more.
        const bool keepExtension = maxLength != 0 && i + 1 == parts.size();
        std::string cut = sanitizeFileName(name.size() <= length ? name : shortenName(name, length, !keepExtension));
        if (!cut.empty()) names.push_back(std::move(cut));
    }
    return names;
}

std::string uniqueExportName(const std::string &name, const std::vector<std::string> &taken) {
    return firstFreeName(name, [&](const std::string &candidate) {
        return std::find(taken.begin(), taken.end(), candidate) != taken.end();
    });
}

std::string firstFreeName(const std::string &name, const std::function<bool(const std::string &)> &taken) {
    if (!taken(name)) return name;
    for (size_t number = 1;; ++number) {
        std::string candidate = numberedName(name, number);
        if (!taken(candidate)) return candidate;
    }
}

}  // namespace eng
