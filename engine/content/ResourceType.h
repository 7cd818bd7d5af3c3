#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace eng {

// The type of a resource as sniffed from its body (Res.Type, UrlRes.Type).
enum class ResType : uint8_t { Html = 1, Gif = 2, Jpeg = 3, Bmp = 4, Other = 5, PlainText = 6 };

// Sniffing looks at no more than this many bytes after the leading white space.
inline constexpr size_t kSniffLength = 512;

// Sniffs a body's type from its first bytes, after any leading white space;
// plain text is recognised only when the content type is exactly "text/plain".
ResType sniffResourceType(std::string_view body, std::string_view contentType);

}  // namespace eng
