#pragma once

#include <string_view>

namespace eng {

// Matches a text against a pattern, case-sensitively: '?' stands for any one
// character, '*' for any run of characters. Up to its first '*' the pattern
// need only match the start of the text, so a pattern without '*' matches
// every text that starts with it; from there on it must match to the end.
bool wildcardMatch(std::string_view text, std::string_view pattern);

}  // namespace eng
