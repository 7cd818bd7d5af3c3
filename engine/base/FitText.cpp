#include "base/FitText.h"

namespace eng {

std::string fitText(std::string_view text, size_t maxLength) {
    if (maxLength == 0 || text.size() <= maxLength) return std::string(text);
    // Step back over continuation bytes so that a UTF-8 character is kept
    // whole or not at all; at most three, since no character is longer, so
    // that bytes of another encoding never shrink the text further.
    size_t cut = maxLength;
    while (cut > 0 && maxLength - cut < 3 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return std::string(text.substr(0, cut));
}

}  // namespace eng
