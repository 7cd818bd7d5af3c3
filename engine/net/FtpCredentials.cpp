#include "net/FtpCredentials.h"

namespace eng {

Credentials ftpCredentials(std::string_view url) {
    constexpr std::string_view kScheme = "ftp://";
    std::string_view rest = url.substr(std::min(url.size(), kScheme.size()));
    rest = rest.substr(0, rest.find('/'));  // an '@' in the path is no login
    const auto at = rest.find('@');
    if (at != std::string_view::npos) {
        const std::string_view login = rest.substr(0, at);
        const auto colon = login.find(':');
        Credentials credentials{std::string(login.substr(0, colon)),
                                colon == std::string_view::npos ? std::string() : std::string(login.substr(colon + 1))};
        if (!credentials.userName.empty()) return credentials;
    }
    return {"anonymous", std::string(kAnonymousFtpPassword)};
}

}  // namespace eng
