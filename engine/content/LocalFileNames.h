#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// How addresses become file and folder names on disk. A maximum length of 0
// means no limit; lengths are in bytes, and a cut never splits a UTF-8
// character.
namespace eng {

struct UrlExtension {
    std::string text;  // without its '.'
    size_t position;   // where the text starts in the address; npos when there is none
};

// The extension of an address. For an http or https address (any text that
// starts with "http"), that of its path: the text after the last '.' of the
// last backslash-separated component, cut at its first '/'. For any other
// address, that of the whole text by the same rule, uncut.
UrlExtension extensionOfUrl(std::string_view url);

// The file name an address yields: the text after the last slash (else the
// last backslash) past "://", or with a query the text between the last slash
// or backslash before the '?' and the '?'. Then shortened keeping the
// extension, or cut; and sanitised when asked.
std::string fileNameOfUrl(std::string_view url, bool sanitise, bool keepExtension, size_t maxLength);

// The folder and file names of an address past "://", lower-cased: one per
// slash- or backslash-separated part, and the query as the last one, empty
// parts left out. All but the last are cut to the maximum length; the last is
// shortened only when asked.
std::vector<std::string> pathSegmentsOfUrl(std::string_view url, bool sanitise, bool shorten, size_t maxLength);

// A name cut to the maximum length; unless plain, the part before the last
// '.' is cut and the extension kept, itself cut to four characters.
std::string shortenName(std::string_view name, size_t maxLength, bool plain);

// Every character a file name cannot hold (/ : * ? " < > |, backslash and
// NUL) replaced by '_'; "." and ".." become "_" and "__". So a sanitised name
// always stays inside the folder it is written to.
std::string sanitizeFileName(std::string_view text);

// The name with ".html" appended when it has no extension, or in place of an
// extension other than "htm" (exactly).
std::string htmlFileName(std::string_view name);

}  // namespace eng
