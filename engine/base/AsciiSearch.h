#pragma once

#include <string_view>

#include "base/AsciiText.h"

namespace eng {

// Position of the first occurrence of needle in text at or after from, with
// only A-Z folded to a-z; npos when there is none.
inline size_t findNoCase(std::string_view text, std::string_view needle, size_t from = 0) {
    if (needle.size() > text.size()) return std::string_view::npos;
    for (size_t i = from; i + needle.size() <= text.size(); ++i) {
        if (equalsNoCase(text.substr(i, needle.size()), needle)) return i;
    }
    return std::string_view::npos;
}

}  // namespace eng
