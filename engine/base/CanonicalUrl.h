#pragma once

#include <string>
#include <string_view>

namespace eng {

// The form in which the engine stores and compares an address: fragment cut
// (unless kept), character references decoded, bytes 1-15 and 127 removed,
// white space trimmed, then canonicalised in browser mode with decoding and
// without encoding. Empty for anything but an http, https, ftp or file
// address, and for text that cannot be canonicalised.
std::string canonicalUrl(std::string_view text, bool keepFragment = false);

}  // namespace eng
