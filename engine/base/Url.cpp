#include "base/Url.h"

#include <algorithm>
#include <vector>

#include "base/AsciiText.h"

namespace eng::url {

namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";
// Bytes whose escapes stay when decoding: decoded they would cut the address
// differently or start an escape of their own.
constexpr std::string_view kStructural = "/?#%\\";
// In a query '&', '=', '+' and ';' separate or stand for values as well.
constexpr std::string_view kQueryStructural = "/?#%\\&=+;";
constexpr std::string_view kUnsafe = "\"<>^`{|}";

// An address after its "scheme:", or a relative reference, cut into its
// parts as written (RFC 3986, section 3).
struct Pieces {
    std::optional<std::string_view> authority;  // after "//"
    std::string_view path;
    std::optional<std::string_view> query;     // without '?'
    std::optional<std::string_view> fragment;  // without '#'
};

struct Authority {
    std::string_view userInfo;  // with its '@'
    std::string_view host;
    std::string_view port;  // without ':'; empty when absent
};

// Any control byte counts as white space around an address.
bool isWhite(char c) { return c != 0 && static_cast<unsigned char>(c) <= 0x20; }

int hexValue(char c) {
    if (isAsciiDigit(c)) return c - '0';
    c = asciiLower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string_view trimmedFront(std::string_view text) {
    while (!text.empty() && isWhite(text.front())) text.remove_prefix(1);
    return text;
}

std::string_view trimmedBack(std::string_view text) {
    while (!text.empty() && isWhite(text.back())) text.remove_suffix(1);
    return text;
}

// The length of the scheme name that starts the text and is followed by ':',
// or 0 when the text does not start with one.
size_t schemeLength(std::string_view text) {
    if (text.empty() || !isAsciiLetter(text[0])) return 0;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ':') return i;
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != '+' && c != '-' && c != '.') return 0;
    }
    return 0;
}

SchemeKind kindOf(std::string_view lowerScheme) {
    if (lowerScheme == "http") return SchemeKind::Http;
    if (lowerScheme == "https") return SchemeKind::Https;
    if (lowerScheme == "ftp") return SchemeKind::Ftp;
    if (lowerScheme == "file") return SchemeKind::File;
    return SchemeKind::Other;
}

// Http, https and ftp addresses read a backslash as a slash and have ports.
bool isNetwork(SchemeKind kind) { return kind != SchemeKind::File && kind != SchemeKind::Other; }

uint16_t defaultPort(SchemeKind kind) {
    switch (kind) {
        case SchemeKind::Http:
            return 80;
        case SchemeKind::Https:
            return 443;
        case SchemeKind::Ftp:
            return 21;
        default:
            return 0;
    }
}

Pieces cut(std::string_view rest, bool network) {
    Pieces pieces;
    if (rest.starts_with("//")) {
        const size_t end = std::min(rest.find_first_of(network ? "/\\?#" : "/?#", 2), rest.size());
        pieces.authority = rest.substr(2, end - 2);
        rest.remove_prefix(end);
    }
    if (const size_t hash = rest.find('#'); hash != std::string_view::npos) {
        pieces.fragment = rest.substr(hash + 1);
        rest = rest.substr(0, hash);
    }
    if (const size_t question = rest.find('?'); question != std::string_view::npos) {
        pieces.query = rest.substr(question + 1);
        rest = rest.substr(0, question);
    }
    pieces.path = rest;
    return pieces;
}

// Query and fragment as written, each with its leading mark.
std::string extraOf(const Pieces &pieces) {
    std::string out;
    if (pieces.query) out.append("?").append(*pieces.query);
    if (pieces.fragment) out.append("#").append(*pieces.fragment);
    return out;
}

// User info, host and port; a file address's authority is all host. Fails
// for an unclosed IPv6 bracket or text between it and the port.
std::optional<Authority> cutAuthority(std::string_view text, SchemeKind kind) {
    Authority authority;
    if (const size_t at = text.rfind('@'); at != std::string_view::npos) {
        authority.userInfo = text.substr(0, at + 1);
        text.remove_prefix(at + 1);
    }
    if (kind == SchemeKind::File) {
        authority.host = text;
        return authority;
    }
    size_t hostEnd = 0;
    if (text.starts_with('[')) {
        hostEnd = text.find(']');
        if (hostEnd == std::string_view::npos) return std::nullopt;
        ++hostEnd;
        if (hostEnd < text.size() && text[hostEnd] != ':') return std::nullopt;
    } else {
        hostEnd = std::min(text.find(':'), text.size());
    }
    authority.host = text.substr(0, hostEnd);
    if (hostEnd < text.size()) authority.port = text.substr(hostEnd + 1);
    return authority;
}

// The port number, the default for an empty one; fails for anything but a
// number up to 65535.
std::optional<uint16_t> portNumber(std::string_view digits, SchemeKind kind) {
    if (digits.empty()) return defaultPort(kind);
    uint32_t port = 0;
    for (char c : digits) {
        if (!isAsciiDigit(c)) return std::nullopt;
        port = port * 10 + static_cast<uint32_t>(c - '0');
        if (port > 65535) return std::nullopt;
    }
    return static_cast<uint16_t>(port);
}

void appendEscape(std::string &out, unsigned char byte) {
    out += '%';
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 15];
}

// Whether a hex digit appended to the decoded text would complete an escape
// that the text did not have: after a '%', or after a '%' and one hex digit.
bool wouldFormEscape(std::string_view out, unsigned char byte) {
    if (hexValue(static_cast<char>(byte)) < 0) return false;
    const size_t n = out.size();
    return (n >= 1 && out[n - 1] == '%') || (n >= 2 && out[n - 2] == '%' && hexValue(out[n - 1]) >= 0);
}

// Percent escapes turned into their bytes, except bytes below 0x20, 0x7F,
// those in `keep` and hex digits that would form a new escape with the text
// before them, whose escapes stay (in upper-case hex).
std::string decoded(std::string_view text, std::string_view keep) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.size() ? hexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(text[i + 2]) : -1;
        if (low < 0) {
            out += text[i];
            continue;
        }
        const auto byte = static_cast<unsigned char>(high * 16 + low);
        if (byte < 0x20 || byte == 0x7F || keep.find(static_cast<char>(byte)) != std::string_view::npos ||
            wouldFormEscape(out, byte))
            appendEscape(out, byte);
        else
            out += static_cast<char>(byte);
        i += 2;
    }
    return out;
}

// Spaces, control bytes, bytes from 0x7F and the unsafe characters escaped.
std::string encoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || kUnsafe.find(c) != std::string_view::npos)
            appendEscape(out, byte);
        else
            out += c;
    }
    return out;
}

// 1 for ".", 2 for "..", with any dot also written %2E as browsers read it;
// 0 for every other segment.
int dotCount(std::string_view segment) {
    int dots = 0;
    while (!segment.empty() && dots <= 2) {
        if (segment[0] == '.')
            segment.remove_prefix(1);
        else if (segment.size() >= 3 && segment[0] == '%' && segment[1] == '2' && asciiLower(segment[2]) == 'e')
            segment.remove_prefix(3);
        else
            return 0;
        ++dots;
    }
    return dots <= 2 ? dots : 0;
}

// The path with its "." and ".." segments applied (RFC 3986, 5.2.4); a ".."
// at the root is dropped.
std::string removeDotSegments(std::string_view path) {
    const bool absolute = path.starts_with('/');
    if (absolute) path.remove_prefix(1);
    std::vector<std::string_view> kept;
    for (bool last = false; !last;) {
        const size_t slash = path.find('/');
        last = slash == std::string_view::npos;
        const std::string_view segment = path.substr(0, slash);
        const int dots = dotCount(segment);
        if (dots == 0) kept.push_back(segment);
        if (dots == 2 && !kept.empty()) kept.pop_back();
        // A trailing "." or ".." leaves the folder, with its slash.
        if (dots != 0 && last) kept.emplace_back();
        if (!last) path.remove_prefix(slash + 1);
    }
    std::string out = absolute ? "/" : "";
    for (size_t i = 0; i < kept.size(); ++i) {
        if (i) out += '/';
        out += kept[i];
    }
    return out;
}

// A path that follows the scheme with no authority between: one that starts
// with "//" is written after "/.", as browsers do, or the next reading would
// take its first segment for a host.
std::string pathWithoutAuthority(std::string path) {
    if (path.starts_with("//")) path.insert(0, "/.");
    return path;
}

// For http, https and ftp, backslashes before the first '?' or '#' turned
// into slashes; other texts as they are.
std::string withSlashes(std::string_view text, SchemeKind kind) {
    std::string out(text);
    if (!isNetwork(kind)) return out;
    const size_t end = std::min(out.find_first_of("?#"), out.size());
    for (size_t i = 0; i < end; ++i)
        if (out[i] == '\\') out[i] = '/';
    return out;
}

std::optional<std::string> canonicalAuthority(std::string_view text, SchemeKind kind) {
    const std::optional<Authority> authority = cutAuthority(text, kind);
    if (!authority) return std::nullopt;
    std::string out(authority->userInfo);
    out += asciiLowered(authority->host);
    if (kind == SchemeKind::File) return out;
    const std::optional<uint16_t> port = portNumber(authority->port, kind);
    if (!port) return std::nullopt;
    if (*port != defaultPort(kind)) out.append(":").append(std::to_string(*port));
    return out;
}

// A query or fragment decoded and encoded as the flags ask (outside browser
// mode only).
std::string canonicalExtra(std::string_view text, std::string_view keep, unsigned flags) {
    std::string out = flags & Decode ? decoded(text, keep) : std::string(text);
    return flags & NoEncode ? out : encoded(out);
}

// The canonical form of an http, https, ftp or file address, `scheme` being
// its lower-cased scheme and `rest` what follows the ':'.
std::optional<std::string> canonicalHierarchical(const std::string &scheme, std::string_view rest, unsigned flags) {
    const SchemeKind kind = kindOf(scheme);
    const std::string text = withSlashes(rest, kind);
    const Pieces pieces = cut(text, isNetwork(kind));
    std::string out = scheme + ":";
    if (pieces.authority) {
        const std::optional<std::string> authority = canonicalAuthority(*pieces.authority, kind);
        if (!authority) return std::nullopt;
        out.append("//").append(*authority);
    }
    std::string path = removeDotSegments(flags & Decode ? decoded(pieces.path, kStructural) : std::string(pieces.path));
    if (pieces.authority && path.empty()) path = "/";
    if (!pieces.authority) path = pathWithoutAuthority(std::move(path));
    out += flags & NoEncode ? path : encoded(path);
    const bool browser = flags & BrowserMode;
    if (pieces.query)
        out.append("?").append(browser ? std::string(*pieces.query)
                                       : canonicalExtra(*pieces.query, kQueryStructural, flags));
    if (pieces.fragment)
        out.append("#").append(browser ? std::string(*pieces.fragment)
                                       : canonicalExtra(*pieces.fragment, kStructural, flags));
    return out;
}

// Trailing spaces written %20: the trimming of the next canonicalisation
// would otherwise take away spaces that decoding made.
void escapeTrailingSpaces(std::string &text) {
    size_t spaces = 0;
    while (spaces < text.size() && text[text.size() - 1 - spaces] == ' ') ++spaces;
    if (spaces == 0) return;
    text.resize(text.size() - spaces);
    for (size_t i = 0; i < spaces; ++i) text += "%20";
}

// RFC 3986, 5.2.2: the target of a reference against a base, both cut.
std::string resolve(std::string_view scheme, const Pieces &base, const Pieces &reference) {
    std::string out(scheme);
    out += ':';
    std::optional<std::string_view> query = reference.query;
    if (reference.authority) {
        out.append("//").append(*reference.authority).append(removeDotSegments(reference.path));
    } else {
        std::string path;
        if (reference.path.empty()) {
            path = base.path;
            if (!query) query = base.query;
        } else if (reference.path.starts_with('/')) {
            path = removeDotSegments(reference.path);
        } else {
            // Merged with the base's folder: its path up to the last slash ("/" after a bare host).
            const size_t slash = base.path.rfind('/');
            std::string merged;
            if (slash != std::string_view::npos)
                merged = base.path.substr(0, slash + 1);
            else if (base.authority)
                merged = "/";
            merged += reference.path;
            path = removeDotSegments(merged);
        }
        if (base.authority)
            out.append("//").append(*base.authority).append(path);
        else
            out += pathWithoutAuthority(std::move(path));
    }
    if (query) out.append("?").append(*query);
    if (reference.fragment) out.append("#").append(*reference.fragment);
    return out;
}

}  // namespace

std::optional<Parts> split(std::string_view text) {
    const size_t schemeEnd = schemeLength(text);
    if (schemeEnd == 0) return std::nullopt;
    Parts parts;
    parts.scheme = asciiLowered(text.substr(0, schemeEnd));
    parts.kind = kindOf(parts.scheme);
    const Pieces pieces = cut(text.substr(schemeEnd + 1), isNetwork(parts.kind));
    std::string_view port;
    if (pieces.authority) {
        const std::optional<Authority> authority = cutAuthority(*pieces.authority, parts.kind);
        if (!authority) return std::nullopt;
        std::string_view userInfo = authority->userInfo;
        if (!userInfo.empty()) {
            userInfo.remove_suffix(1);
            const size_t colon = userInfo.find(':');
            parts.userName = userInfo.substr(0, colon);
            if (colon != std::string_view::npos) parts.password = userInfo.substr(colon + 1);
        }
        parts.host = authority->host;
        port = authority->port;
    }
    const std::optional<uint16_t> portValue = portNumber(port, parts.kind);
    if (!portValue) return std::nullopt;
    parts.port = *portValue;
    parts.path = pieces.path;
    parts.extra = extraOf(pieces);
    return parts;
}

std::optional<std::string> canonicalize(std::string_view text, unsigned flags) {
    text = trimmedFront(text);
    // In browser mode white space after a '?' or '#' belongs to the query or fragment.
    const bool trimsBack = !(flags & BrowserMode) || text.find_first_of("?#") == std::string_view::npos;
    if (trimsBack) text = trimmedBack(text);
    const size_t schemeEnd = schemeLength(text);
    if (schemeEnd == 0) return std::nullopt;
    const std::string scheme = asciiLowered(text.substr(0, schemeEnd));
    const std::string_view rest = text.substr(schemeEnd + 1);
    if (kindOf(scheme) == SchemeKind::Other) return scheme + ":" + std::string(rest);
    std::optional<std::string> out = canonicalHierarchical(scheme, rest, flags);
    if (out && trimsBack) escapeTrailingSpaces(*out);
    return out;
}

std::optional<std::string> combine(std::string_view base, std::string_view relative, unsigned flags) {
    relative = trimmedBack(trimmedFront(relative));
    const size_t baseSchemeEnd = schemeLength(base);
    const std::string scheme = asciiLowered(base.substr(0, baseSchemeEnd));
    const SchemeKind kind = kindOf(scheme);
    if (const size_t schemeEnd = schemeLength(relative); schemeEnd != 0) {
        // "http:x" against an http address is the relative reference "x", as browsers read it;
        // "http://h/x" stands alone whatever the base.
        if (baseSchemeEnd == 0 || !isNetwork(kind) || asciiLowered(relative.substr(0, schemeEnd)) != scheme ||
            withSlashes(relative.substr(schemeEnd + 1), kind).starts_with("//"))
            return canonicalize(relative, flags);
        relative.remove_prefix(schemeEnd + 1);
    }
    if (baseSchemeEnd == 0) return std::nullopt;
    const std::string baseRest = withSlashes(base.substr(baseSchemeEnd + 1), kind);
    const std::string reference = withSlashes(relative, kind);
    const Pieces basePieces = cut(baseRest, isNetwork(kind));
    const Pieces referencePieces = cut(reference, isNetwork(kind));
    // An opaque base ("mailto:x") has no folder to resolve a path against.
    const bool opaque = !basePieces.authority && !basePieces.path.starts_with('/');
    const bool fragmentOnly = !referencePieces.authority && referencePieces.path.empty() && !referencePieces.query;
    if (opaque && !fragmentOnly) return std::nullopt;
    return canonicalize(resolve(scheme, basePieces, referencePieces), flags);
}

}  // namespace eng::url
