#include "content/BrowserPage.h"

#include <optional>

#include "content/AsciiText.h"
#include "content/Charset.h"
#include "content/TagAttribute.h"
#include "content/Utf8Recoding.h"

namespace eng {

namespace {

constexpr std::string_view kHtml = "text/html";

// The charset a page declares: its content type's, else its content-type
// META's, else a META charset's. nullopt when it declares none.
std::optional<CharsetIndex> declaredPageCharset(std::string_view contentType, std::string_view page) {
    if (auto header = declaredCharset(contentType)) return header;
    if (auto meta = findTagAttribute(page, "meta", "http-equiv", "content-type", "content"))
        if (auto charset = declaredCharset(*meta)) return charset;
    if (auto name = findTagAttribute(page, "meta", "charset", "", "charset")) return charsetOfName(*name);
    return std::nullopt;
}

}  // namespace

BrowserPage browserPage(std::string_view contentType, std::string body) {
    if (contentType.empty() || contentType == "n/a") contentType = kHtml;
    BrowserPage page{std::string(contentType), std::move(body)};
    if (!startsWithNoCase(contentType, kHtml)) return page;
    const auto charset = declaredPageCharset(contentType, page.body);
    if (!charset || *charset == CharsetIndex::Unknown) return page;
    page.body = toUtf8(page.body, *charset);
    page.contentType = std::string(contentType.substr(0, contentType.find(';'))) + "; charset=utf-8";
    return page;
}

}  // namespace eng
