#pragma once

#include <string>

namespace eng {

// A user name and password, for a server, a proxy or an FTP login.
struct Credentials {
    std::string userName;
    std::string password;
};

}  // namespace eng
