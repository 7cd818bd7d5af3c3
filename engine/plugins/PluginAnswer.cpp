#include "plugins/PluginAnswer.h"

#include <set>
#include <string>
#include <tuple>

#include "base/CanonicalUrl.h"

namespace eng {

namespace {

using LinkKey = std::tuple<uint8_t, std::string, std::string>;

LinkKey keyOf(const Link &link) { return {link.kind, link.url, link.formData}; }

}  // namespace

void addAnswerLinks(std::string_view answer, std::vector<Link> &links) {
    std::set<LinkKey> present;
    for (const Link &link : links) present.insert(keyOf(link));
    for (size_t at = 0; at < answer.size();) {
        const size_t urlEnd = answer.find('\0', at);
        if (urlEnd == std::string_view::npos) break;
        const size_t postEnd = answer.find('\0', urlEnd + 1);
        if (postEnd == std::string_view::npos || postEnd + 1 >= answer.size()) break;
        Link link{static_cast<uint8_t>(answer[postEnd + 1]), canonicalUrl(answer.substr(at, urlEnd - at)),
                  std::string(answer.substr(urlEnd + 1, postEnd - urlEnd - 1))};
        at = postEnd + 2;
        if (!link.url.empty() && present.insert(keyOf(link)).second) links.push_back(std::move(link));
    }
}

}  // namespace eng
