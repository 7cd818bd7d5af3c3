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
// case: the text after "realm=" (found without regard to case), either a
// quoted text up to the quote that closes it (a backslash escapes the next
// character) or the header's end, or a bare word up to the next comma; empty
// when there is no "realm=". Parameters after the realm (a Digest nonce) are
// not part of it.
std::string realmOf(std::string_view challenge);

// Whether a challenge header asks for Digest (its first word, in any letter
// case); Basic otherwise.
bool isDigestChallenge(std::string_view challenge);

}  // namespace eng
