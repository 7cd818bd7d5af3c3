#pragma once

#include <string_view>

#include "net/HttpRequest.h"

namespace eng {

// The password of anonymous FTP logins, in the form of an e-mail address as
// such servers expect.
inline constexpr std::string_view kAnonymousFtpPassword = "lark@localhost";

// The login of an ftp address: the text between "ftp://" and the first '@'
// before the path,
// split at its first ':' into user name and password; "anonymous" with the
// anonymous password when there is no '@' or the user name is empty.
Credentials ftpCredentials(std::string_view url);

}  // namespace eng
