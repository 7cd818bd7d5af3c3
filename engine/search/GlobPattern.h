#pragma once

#include <string>
#include <string_view>

namespace eng {

// Translates a pattern written for the search (an asterisk for any run of
// characters, a question mark for one character, a number sign for one
// digit, "[" … "]" around a class of characters, "!" after the "[" to negate
// the class; every other character stands for itself) into an SQLite GLOB
// pattern that matches the same texts. Throws CEngineException, naming the
// pattern, when a "[" has no "]" or a class is empty.
std::string globPattern(std::string_view pattern);

}  // namespace eng
