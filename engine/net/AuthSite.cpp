#include "net/AuthSite.h"

#include <openssl/evp.h>

#include <algorithm>
#include <array>

#include "base/AsciiText.h"
#include "base/Url.h"
#include "net/DownloadRecord.h"

namespace eng {

namespace {

constexpr std::string_view kBase64Url = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr char kKeyMark = '#';
constexpr size_t kKeyLength = 44;  // the mark and 256 bits in 43 characters

std::string base64Url(const unsigned char *bytes, size_t count) {
    std::string text;
    uint32_t bits = 0;
    int held = 0;
    for (size_t i = 0; i < count; ++i) {
        bits = (bits << 8) | bytes[i];
        held += 8;
        while (held >= 6) {
            held -= 6;
            text += kBase64Url[(bits >> held) & 63];
        }
    }
    if (held > 0) text += kBase64Url[(bits << (6 - held)) & 63];
    return text;
}

}  // namespace

std::string authSite(const DownloadRecord &record) {
    if (record.statusCode == 407) return "proxy " + asciiLowered(record.proxy);
    const auto parts = url::split(record.url);
    if (!parts) return {};
    return parts->scheme + "://" + asciiLowered(parts->host) + ":" + std::to_string(parts->port);
}

std::string storedAuthKey(std::string_view site, std::string_view realm) {
    std::string text(site);
    text += '\0';
    text += realm;
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    EVP_Digest(text.data(), text.size(), digest.data(), &length, EVP_sha256(), nullptr);
    return kKeyMark + base64Url(digest.data(), length);
}

bool isStoredAuthKey(std::string_view column) {
    return column.size() == kKeyLength && column.front() == kKeyMark &&
           std::all_of(column.begin() + 1, column.end(),
                       [](char c) { return kBase64Url.find(c) != std::string_view::npos; });
}

}  // namespace eng
