#pragma once

#include <string>
#include <string_view>

namespace eng {

// Text made safe to stand in HTML content or a quoted attribute value: '&',
// '<', '>' and '"' are written as character references.
std::string escapeHtml(std::string_view text);

}  // namespace eng
