#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace eng {

// Where one candidate's address stands in a srcset value.
struct SrcsetUrl {
    size_t offset = 0;
    size_t length = 0;
};

// The addresses of a srcset value's candidates, as browsers split it: blanks
// and commas before an address are skipped, the address runs to the next
// blank (commas ending it are not part of it), and its descriptors run to the
// next comma outside parentheses. One pass, forward only.
std::vector<SrcsetUrl> srcsetUrls(std::string_view value);

}  // namespace eng
