#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The three address operations of the engine: split, canonicalise and combine.
// They give the texts a Windows Internet library gives, except where that
// would corrupt an address.
namespace eng::url {

enum class SchemeKind { Http, Https, Ftp, File, Other };

// An address split into its parts, as written.
struct Parts {
    std::string scheme;  // lower case
    SchemeKind kind = SchemeKind::Other;
    std::string userName;
    std::string password;
    std::string host;   // may be empty ("http:///x"); an IPv6 literal keeps its brackets
    uint16_t port = 0;  // the scheme's default (80, 443, 21; 0 for file and others) when absent
    std::string path;   // the object path, up to the first '?' or '#'
    std::string extra;  // query and fragment, starting with '?' or '#'; else empty
};

enum Flag : unsigned {
    NoEncode = 1u << 0,     // leave unsafe characters as written
    Decode = 1u << 1,       // decode percent escapes that carry no structure
    BrowserMode = 1u << 2,  // touch nothing after the first '?' or '#', keep trailing white space there
};

// Splits an address. Fails for a text without a scheme and for a port that is
// not a number up to 65535.
std::optional<Parts> split(std::string_view text);

// The canonical form of an address. Leading white space goes, and trailing
// white space too except after a '?' or '#' in browser mode. The scheme is
// lower-cased; schemes other than http, https, ftp and file are otherwise kept
// as written (mailto:, javascript:, data:, ...). For the four:
// - the host is lower-cased; http, https and ftp drop their default port;
// - in http, https and ftp addresses backslashes before '?' and '#' become '/';
// - "." and ".." path segments go (".." never climbs above the root), also
//   when their dots are written %2E; an empty path after a host becomes "/";
// - Decode: escapes in the path (in browser mode; everywhere otherwise) become
//   their bytes, except %2F, %3F, %23, %25, %5C, bytes below 0x20 and 0x7F
//   (and in a query %26, %3D, %2B, %3B), which stay, in upper-case hex;
// - unless NoEncode: spaces, control bytes, bytes from 0x7F and " < > ^ ` { | }
//   in the path (in browser mode; everywhere otherwise) are written %XX.
// A decoded space that would end the text stays %20, so that canonical text
// stays canonical. Fails for a text without a scheme or with a bad port.
std::optional<std::string> canonicalize(std::string_view text, unsigned flags);

// Resolves a reference against a base address (RFC 3986, section 5, read as
// browsers do) and canonicalises the result with the same flags. The
// reference's leading and trailing white space is ignored. A reference with a
// scheme stands alone, except one with the base's scheme (http, https or ftp)
// and no "//", which counts as relative ("http:x"). For http, https and ftp
// bases backslashes in the reference count as slashes. An empty reference
// gives the base without its fragment. Fails when the base has no scheme and
// the reference has none, or when the base is opaque ("mailto:x") and the
// reference is more than a fragment.
std::optional<std::string> combine(std::string_view base, std::string_view relative, unsigned flags);

}  // namespace eng::url
