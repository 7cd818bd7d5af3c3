#pragma once

#include <string>
#include <string_view>

namespace eng {

// The site key of an address, shared by all hosts of one site: for http and
// https addresses with a host, a dotted IPv4 address whole, otherwise the
// host's last two dot-separated labels (the whole host when it has fewer than
// two dots). Empty for any other address.
std::string domainKey(std::string_view url);

}  // namespace eng
