#pragma once

#include <string>
#include <string_view>

namespace eng {

// Decodes the few character references that addresses and titles carry: a
// reference runs from an '&' to the next ';' (or the end). "&#" numbers
// (leading zeros skipped) 9 and 32 give a space, 10 a line feed, 33-47 and
// 58-64 their own character; the names nbsp, quot, lt, gt and amp theirs. Any
// other reference stays as written, and references inside it are still read.
std::string decodeCharacterReferences(std::string_view text);

}  // namespace eng
