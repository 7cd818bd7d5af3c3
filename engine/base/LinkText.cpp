#include "base/LinkText.h"

#include "base/CharacterReferences.h"
#include "base/Utf8Recoding.h"

namespace eng {

std::string linkText(std::string_view value, std::string_view charset) {
    if (charset.empty()) return decodeCharacterReferences(value);
    std::string text = decodeCharacterReferences(toUtf8(value, charset));
    const size_t query = text.find('?');
    if (query == std::string::npos) return text;
    const size_t fragment = std::min(text.find('#', query), text.size());
    return text.substr(0, query) + fromUtf8(std::string_view(text).substr(query, fragment - query), charset) +
           text.substr(fragment);
}

}  // namespace eng
