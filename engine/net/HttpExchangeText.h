#pragma once

#include <string>
#include <string_view>

namespace eng {

struct DownloadRecord;

// The header lines that a retrieval sends, each ending in CR LF, in this
// order: Accept; If-Modified-Since (only for a full download of a resource
// with a date); "Accept-Encoding:;" always; Range (when resuming); the form
// content type (with form data); Referer (when there is one).
std::string requestHeaderText(const DownloadRecord &record);

// The realm of an authentication challenge header, in the server's letter
// case: the text after "realm=" (found without regard to case), from just
// past the next double quote up to the header's last double quote; empty
// when there is no "realm=".
std::string realmOf(std::string_view challenge);

}  // namespace eng
