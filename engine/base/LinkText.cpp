#include "base/LinkText.h"

#include "base/CharacterReferences.h"
#include "base/StyleSheetScanner.h"
#include "base/Utf8Recoding.h"

namespace eng {

namespace {

// A link read as UTF-8 with its query put back into the page's charset.
std::string withQueryInCharset(std::string text, std::string_view charset) {
    const size_t query = text.find('?');
    if (charset.empty() || query == std::string::npos) return text;
    const size_t fragment = std::min(text.find('#', query), text.size());
    return text.substr(0, query) + fromUtf8(std::string_view(text).substr(query, fragment - query), charset) +
           text.substr(fragment);
}

std::string asUtf8(std::string_view value, std::string_view charset) {
    return charset.empty() ? std::string(value) : toUtf8(value, charset);
}

std::string withoutReferenceQuotes(std::string text) {
    const bool quoted =
        text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front();
    return quoted ? text.substr(1, text.size() - 2) : text;
}

}  // namespace

std::string linkText(std::string_view value, std::string_view charset) {
    return withQueryInCharset(decodeCharacterReferences(asUtf8(value, charset)), charset);
}

std::string cssLinkText(std::string_view value, std::string_view charset, bool inAttribute) {
    std::string text = asUtf8(value, charset);
    if (inAttribute) text = withoutReferenceQuotes(decodeCharacterReferences(text));
    return withQueryInCharset(cssUnescaped(text), charset);
}

}  // namespace eng
