#pragma once

#include <string_view>

namespace eng {

// Whether an address looks generated: more than seven decimal digits in its
// path and query while its extension is not that of an image.
bool isDynamicAddress(std::string_view url);

}  // namespace eng
