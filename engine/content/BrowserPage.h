#pragma once

#include <string>
#include <string_view>

namespace eng {

// A stored body as the embedded browser receives it.
struct BrowserPage {
    std::string contentType;
    std::string body;
};

// A stored body made ready for the browser. An empty or "n/a" content type
// is taken as "text/html". An HTML page that declares one of the single-byte
// charsets the engine knows (in its content type, else in a content-type
// META or a META charset) is recoded to UTF-8 and its content type says so,
// which the browser honours before any META. Every other body, a page in a
// charset the engine does not recode among them, goes as stored for the
// browser to decode.
BrowserPage browserPage(std::string_view contentType, std::string body);

}  // namespace eng
