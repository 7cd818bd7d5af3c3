#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace eng {

// Charsets by the names pages give them, for taking text out of a page in
// any charset: each result is a name iconv converts from, or empty for UTF-8.

// The charset a name selects: one of the eight charsets of the table, by its
// exact table names; else any other charset iconv knows, by the name as
// written (without surrounding blanks and quotes). Empty for UTF-8 and for a
// name iconv does not know.
std::string charsetNamed(std::string_view name);

// The charset named by the whole rest of a content type after "charset=";
// empty when it names none.
std::string contentTypeCharset(std::string_view contentType);

// The charset name a page declares, as written: the whole rest after its
// content type's "charset=", else after its content-type META's, else its
// META charset's value; nothing when it declares none.
std::optional<std::string> declaredCharsetName(std::string_view contentType, std::string_view page);

// The charset a page's bytes are in: the one its declared name selects.
std::string pageCharset(std::string_view contentType, std::string_view page);

}  // namespace eng
