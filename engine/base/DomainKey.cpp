#include "base/DomainKey.h"

#include <algorithm>
#include <optional>

#include "base/AsciiText.h"
#include "base/Url.h"

namespace eng {

namespace {

// Exactly four dot-separated decimal parts, each below 256.
bool isDottedIpv4(std::string_view host) {
    if (std::count(host.begin(), host.end(), '.') != 3) return false;
    for (size_t start = 0; start <= host.size();) {
        const size_t dot = std::min(host.find('.', start), host.size());
        const std::string_view part = host.substr(start, dot - start);
        int value = 0;
        for (char c : part) {
            if (!isAsciiDigit(c)) return false;
            value = std::min(value * 10 + (c - '0'), 256);
        }
        if (part.empty() || value > 255) return false;
        start = dot + 1;
    }
    return true;
}

}  // namespace

std::string domainKey(std::string_view url) {
    const std::optional<url::Parts> parts = url::split(url);
    if (!parts || (parts->kind != url::SchemeKind::Http && parts->kind != url::SchemeKind::Https)) return {};
    const std::string_view host = trimmedWhite(parts->host);
    if (host.empty() || isDottedIpv4(host)) return std::string(host);
    // A host that ends in a dot has an empty last label: "a.b.c." gives "c.".
    const size_t lastDot = host.rfind('.');
    if (lastDot == std::string_view::npos || lastDot == 0) return std::string(host);
    const size_t dotBefore = host.rfind('.', lastDot - 1);
    return std::string(dotBefore == std::string_view::npos ? host : host.substr(dotBefore + 1));
}

}  // namespace eng
