#pragma once

#include <string_view>

namespace eng {

// The MIME type of a local file from its extension (without the dot, any
// case): "n/a" for none, "application/binary" for an unknown one.
std::string_view mimeTypeOfExtension(std::string_view extension);

// gif, jpg, jpeg, bmp, dib, jpe, png and tif, in any case.
bool isImageExtension(std::string_view extension);

}  // namespace eng
