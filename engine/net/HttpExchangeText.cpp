#include "net/HttpExchangeText.h"

#include <algorithm>

#include "base/AsciiText.h"
#include "net/DownloadRecord.h"

namespace eng {

std::string requestHeaderText(const DownloadRecord &record) {
    std::string text = "Accept: " + record.accept + "\r\n";
    if (!record.lastModified.empty() && record.resumeOffset == 0)
        text += "If-Modified-Since: " + record.lastModified + "\r\n";
    text += "Accept-Encoding:;\r\n";
    if (record.resumeOffset != 0) text += "Range:bytes=" + std::to_string(record.resumeOffset) + "-\r\n";
    if (!record.postData.empty()) text += "Content-Type: application/x-www-form-urlencoded\r\n";
    if (!record.referer.empty()) text += "Referer: " + record.referer + "\r\n";
    return text;
}

std::string realmOf(std::string_view challenge) {
    constexpr std::string_view kRealm = "realm=";
    const auto found = asciiLowered(challenge).find(kRealm);
    if (found == std::string::npos) return {};
    size_t at = found + kRealm.size();
    if (at >= challenge.size() || challenge[at] != '"')
        return std::string(challenge.substr(at, challenge.find(',', at) - at));
    std::string realm;
    for (++at; at < challenge.size() && challenge[at] != '"'; ++at) {
        if (challenge[at] == '\\' && at + 1 < challenge.size()) ++at;
        realm += challenge[at];
    }
    return realm;
}

bool isDigestChallenge(std::string_view challenge) {
    constexpr std::string_view kDigest = "digest";
    const std::string word = asciiLowered(challenge.substr(0, challenge.find_first_of(" \t")));
    return word == kDigest;
}

}  // namespace eng
