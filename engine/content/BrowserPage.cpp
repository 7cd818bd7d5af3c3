#include "content/BrowserPage.h"

#include "base/AsciiText.h"
#include "base/Charset.h"
#include "base/PageCharset.h"
#include "base/Utf8Recoding.h"

namespace eng {

namespace {

constexpr std::string_view kHtml = "text/html";

}  // namespace

BrowserPage browserPage(std::string_view contentType, std::string body) {
    if (contentType.empty() || contentType == "n/a") contentType = kHtml;
    BrowserPage page{std::string(contentType), std::move(body)};
    if (!startsWithNoCase(contentType, kHtml)) return page;
    const auto name = declaredCharsetName(contentType, page.body);
    const CharsetIndex charset = name ? charsetOfName(*name) : CharsetIndex::Unknown;
    if (charset == CharsetIndex::Unknown) return page;
    page.body = toUtf8(page.body, charset);
    page.contentType = std::string(contentType.substr(0, contentType.find(';'))) + "; charset=utf-8";
    return page;
}

}  // namespace eng
