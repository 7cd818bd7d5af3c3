// Fuzz target: any bytes as an address, a base and a reference. Splitting,
// canonicalising and combining, and the rules that make keys and file names
// of addresses, must neither crash nor read out of bounds, and must keep the
// promises of their headers:
// - split parts are the input's own text, path and extra ending it;
// - a canonical address canonicalises to itself, and so does a combined one;
// - a reference with a scheme of its own combines to its canonical form;
// - an empty reference combines to the base without its fragment;
// - the stored form of an address is canonical, splits, names one of the
//   four schemes and holds no control byte that cleaning removes;
// - a site key is a part of the host and, for a host name, its own;
// - file names are cut and sanitised as asked, and keep UTF-8 whole.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/AsciiText.h"
#include "base/CanonicalUrl.h"
#include "base/CharacterReferences.h"
#include "base/DomainKey.h"
#include "base/ImageMapCoordinates.h"
#include "base/PercentDecoding.h"
#include "base/Url.h"
#include "base/UrlHash.h"
#include "content/DynamicAddress.h"
#include "content/LocalFileNames.h"

namespace url = eng::url;

namespace {

constexpr unsigned kStoredFlags = url::NoEncode | url::Decode | url::BrowserMode;
constexpr std::string_view kForbidden = "/:*?\"<>|\\";

// Shows a text with its control bytes, non-ASCII bytes and backslashes escaped.
void show(std::string_view text) {
    std::fputs("  [", stderr);
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F || c == '\\')
            std::fprintf(stderr, "\\x%02X", byte);
        else
            std::fputc(c, stderr);
    }
    std::fputs("]\n", stderr);
}

void expect(bool holds, const char *promise, std::string_view a, std::string_view b = {}) {
    if (holds) return;
    std::fprintf(stderr, "broken: %s\n", promise);
    show(a);
    show(b);
    std::abort();
}

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

bool isValidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80         ? 1
                              : (lead >> 5) == 6  ? 2
                              : (lead >> 4) == 14 ? 3
                              : (lead >> 3) == 30 ? 4
                                                  : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

// The text without the white space that combining ignores around a reference.
std::string_view trimmedReference(std::string_view text) {
    const auto white = [](char c) { return c != 0 && static_cast<unsigned char>(c) <= 0x20; };
    while (!text.empty() && white(text.front())) text.remove_prefix(1);
    while (!text.empty() && white(text.back())) text.remove_suffix(1);
    return text;
}

// The lower-cased scheme that starts the text, or nothing.
std::optional<std::string> schemeOf(std::string_view text) {
    if (text.empty() || !eng::isAsciiLetter(text[0])) return std::nullopt;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ':') return eng::asciiLowered(text.substr(0, i));
        if (!eng::isAsciiLetter(c) && !eng::isAsciiDigit(c) && c != '+' && c != '-' && c != '.') return std::nullopt;
    }
    return std::nullopt;
}

void checkSplit(std::string_view text) {
    const std::optional<url::Parts> parts = url::split(text);
    if (!parts) return;
    expect(text.ends_with(parts->path + parts->extra), "path and extra end the address", text, parts->path);
    for (const std::string *part : {&parts->userName, &parts->password, &parts->host})
        expect(contains(text, *part), "a split part is the address's own text", text, *part);
    expect(eng::equalsNoCase(text.substr(0, parts->scheme.size()), parts->scheme), "the scheme starts the address",
           text, parts->scheme);
}

void checkCanonical(std::string_view text, unsigned flags) {
    const std::optional<std::string> canonical = url::canonicalize(text, flags);
    if (canonical) expect(url::canonicalize(*canonical, flags) == canonical, "canonical text stays", text, *canonical);
}

void checkCombine(std::string_view base, std::string_view relative, unsigned flags) {
    const std::optional<std::string> combined = url::combine(base, relative, flags);
    if (combined) expect(url::canonicalize(*combined, flags) == combined, "combined text is canonical", base, relative);

    const std::string_view reference = trimmedReference(relative);
    if (const std::optional<std::string> scheme = schemeOf(reference)) {
        const std::optional<std::string> baseScheme = schemeOf(base);
        const bool network = *scheme == "http" || *scheme == "https" || *scheme == "ftp";
        std::string rest(reference.substr(scheme->size() + 1));
        for (char &c : rest)
            if (c == '\\') c = '/';
        if (!baseScheme || *baseScheme != *scheme || !network || rest.starts_with("//"))
            expect(combined == url::canonicalize(reference, flags), "an absolute reference stands alone", base,
                   relative);
    }

    const std::optional<std::string> again = url::combine(base, "", flags);
    if (again)
        expect(again == url::canonicalize(base.substr(0, base.find('#')), flags),
               "an empty reference gives the base without its fragment", base);
}

void checkStoredForm(std::string_view text, bool keepFragment) {
    const std::string stored = eng::canonicalUrl(text, keepFragment);
    if (stored.empty()) return;
    expect(url::canonicalize(stored, kStoredFlags) == stored, "the stored form is canonical", text, stored);
    const std::optional<url::Parts> parts = url::split(stored);
    expect(parts && parts->kind != url::SchemeKind::Other, "the stored form has one of the four schemes", text, stored);
    for (char c : stored)
        expect(!(c >= 1 && c <= 15) && c != 127, "the stored form holds no removed control byte", text, stored);
}

void checkDomainKey(std::string_view text) {
    const std::string key = eng::domainKey(text);
    if (key.empty()) return;
    const std::optional<url::Parts> parts = url::split(text);
    expect(parts && contains(parts->host, key), "the site key is part of the host", text, key);
    // For a host name's key; a key cut from a host with white space, brackets
    // or the like inside need not survive being read as a host again.
    const bool hostName = std::all_of(key.begin(), key.end(), [](char c) {
        return eng::isAsciiLetter(c) || eng::isAsciiDigit(c) || c == '-' || c == '.' || c == '_';
    });
    if (hostName) expect(eng::domainKey("http://" + key + "/") == key, "the site key is its own site key", text, key);
}

void checkFileNames(std::string_view text, size_t maxLength, bool sanitise, bool keepExtension) {
    const bool utf8 = isValidUtf8(text);
    const std::string name = eng::fileNameOfUrl(text, sanitise, keepExtension, maxLength);
    if (maxLength && !keepExtension) expect(name.size() <= maxLength, "a file name is cut to the length", text, name);
    if (sanitise) expect(name.find_first_of(kForbidden) == std::string::npos, "a file name is sanitised", text, name);
    if (utf8) expect(isValidUtf8(name), "a cut keeps UTF-8 whole", text, name);

    const std::vector<std::string> segments = eng::pathSegmentsOfUrl(text, sanitise, keepExtension, maxLength);
    for (size_t i = 0; i < segments.size(); ++i) {
        const std::string &segment = segments[i];
        expect(!segment.empty(), "no empty path segment", text);
        expect(eng::asciiLowered(segment) == segment, "path segments are lower case", text, segment);
        if (sanitise)
            expect(segment.find_first_of(kForbidden) == std::string::npos, "path segments are sanitised", text,
                   segment);
        if (maxLength && i + 1 < segments.size())
            expect(segment.size() <= maxLength, "folder names are cut to the length", text, segment);
        if (utf8) expect(isValidUtf8(segment), "a cut keeps UTF-8 whole", text, segment);
    }

    const std::string shortened = eng::shortenName(text, maxLength, !keepExtension);
    if (maxLength)
        expect(shortened.size() <= (keepExtension ? maxLength + 5 : maxLength), "a short name is short", text,
               shortened);
    const std::string html = eng::htmlFileName(text);
    expect(html.ends_with(".html") || html.ends_with(".htm"), "an HTML file name ends in .html or .htm", text, html);

    const eng::UrlExtension extension = eng::extensionOfUrl(text);
    if (extension.position != std::string_view::npos)
        expect(text.substr(extension.position, extension.text.size()) == extension.text,
               "the extension is where it is said to be", text, extension.text);
}

void checkTextRules(std::string_view text) {
    const std::string decoded = eng::percentDecoded(text);
    expect(decoded.size() <= text.size(), "decoding never lengthens", text, decoded);
    if (!contains(text, "%")) expect(decoded == text, "text without escapes stays", text, decoded);
    expect(eng::decodeCharacterReferences(text).size() <= text.size(), "references never lengthen", text);
    expect(text.starts_with(eng::stripImageMapCoordinates(text)), "stripping coordinates cuts the end", text);
    eng::isDynamicAddress(text);
    eng::urlHash(text);
}

}  // namespace

// The first byte holds the address flags and the options of the file-name
// rules, the second a maximum name length; the rest is an address, or a base
// and a reference on two lines.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2) return 0;
    const unsigned options = data[0];
    const size_t maxLength = data[1];
    const std::string_view input(reinterpret_cast<const char *>(data + 2), size - 2);
    const size_t newline = input.find('\n');
    const std::string_view base = input.substr(0, newline);
    const std::string_view relative = newline == std::string_view::npos ? input : input.substr(newline + 1);
    const unsigned flags = options & 7;

    for (std::string_view text : {base, relative}) {
        checkSplit(text);
        checkCanonical(text, flags);
        checkCanonical(text, kStoredFlags);
        checkStoredForm(text, options & 8);
        checkDomainKey(text);
        checkFileNames(text, maxLength, options & 16, options & 32);
        checkTextRules(text);
    }
    checkCombine(base, relative, flags);
    checkCombine(base, relative, kStoredFlags);
    return 0;
}
