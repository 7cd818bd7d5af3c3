#pragma once

#include <string>
#include <string_view>

namespace eng {

// The text of a stored page or text body, the way the word index reads it:
// the bytes recoded to UTF-8 by the page's charset (see pageToUtf8), then the
// markup reduced to text:
// - a "<script" or "<style" block (any letter case) is dropped up to its
//   closing "</script" or "</style" tag, which is then dropped as any other
//   tag is, or to the end when it is not closed;
// - any other tag is dropped through its ">", which leaves one blank unless
//   white space or another "<" follows;
// - character references are decoded as decodeCharacterReferences does;
// - everything else is kept as it stands.
std::string bodyText(std::string_view contentType, std::string_view body);

// The markup reduction alone, over text that is already UTF-8.
std::string markupToText(std::string_view html);

}  // namespace eng
