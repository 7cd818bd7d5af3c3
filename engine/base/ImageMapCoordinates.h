#pragma once

#include <string>
#include <string_view>

namespace eng {

// Removes the coordinates of a form's image button from the end of an
// address or form text ("a=1&go.x=12&go.y=7" gives "a=1"), when they follow
// at least one other parameter; any other text is returned unchanged. It is
// also how the string table normalises texts before comparing them.
std::string stripImageMapCoordinates(std::string_view text);

}  // namespace eng
