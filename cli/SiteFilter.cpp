#include "SiteFilter.h"

#include "base/Url.h"

namespace lark {

namespace {

// Every kind of link, no size limits.
constexpr std::string_view kEveryKind = "4294967295;0;0;";
constexpr char kEntryEnd = '\xFF';

// The pattern of a host's addresses over a scheme: the port written only
// when it is not the scheme's default (canonical addresses drop it then).
std::string hostPattern(const std::string &scheme, const std::string &host, uint16_t port, uint16_t defaultPort) {
    return scheme + "://" + host + (port == defaultPort ? "" : ":" + std::to_string(port)) + "/";
}

}  // namespace

std::string filterEntryForEveryKind(std::string_view expression) {
    return std::string(kEveryKind) + std::string(expression) + kEntryEnd;
}

std::string siteFilterEntry(const std::string &startUrl) {
    const auto parts = eng::url::split(startUrl);
    if (!parts) return {};
    std::string expression;
    switch (parts->kind) {
        case eng::url::SchemeKind::Http:
        case eng::url::SchemeKind::Https: {
            const bool defaultPort = parts->port == (parts->kind == eng::url::SchemeKind::Http ? 80 : 443);
            const uint16_t http = defaultPort ? 80 : parts->port, https = defaultPort ? 443 : parts->port;
            expression =
                hostPattern("http", parts->host, http, 80) + " or " + hostPattern("https", parts->host, https, 443);
            break;
        }
        case eng::url::SchemeKind::Ftp:
            expression = hostPattern("ftp", parts->host, parts->port, 21);
            break;
        case eng::url::SchemeKind::File:
            expression = "file://";
            break;
        case eng::url::SchemeKind::Other:
            return {};
    }
    return filterEntryForEveryKind(expression);
}

}  // namespace lark
