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
    const std::string lowered = asciiLowered(challenge);
    const auto found = lowered.find(kRealm);
    if (found == std::string::npos) return {};
    size_t start = found + kRealm.size();
    if (const auto quote = challenge.find('"', start); quote != std::string_view::npos) start = quote + 1;
    const auto lastQuote = challenge.rfind('"');
    const size_t end = lastQuote != std::string_view::npos && lastQuote >= start ? lastQuote : challenge.size();
    return std::string(challenge.substr(start, end - start));
}

}  // namespace eng
