#include "base/UrlHash.h"

namespace eng {

uint32_t urlHash(std::string_view bytes, uint32_t before) {
    uint32_t h = before;
    for (char c : bytes) h = h * 33u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c)));
    return h;
}

}  // namespace eng
