#include "base/WildcardMatch.h"

namespace eng {

namespace {

bool matchesOne(char patternChar, char textChar) { return patternChar == '?' || patternChar == textChar; }

}  // namespace

bool wildcardMatch(std::string_view text, std::string_view pattern) {
    size_t t = 0;
    size_t p = 0;
    for (; p < pattern.size() && pattern[p] != '*'; ++p, ++t)
        if (t == text.size() || !matchesOne(pattern[p], text[t])) return false;
    if (p == pattern.size()) return true;
    // From the first '*' on: on a mismatch the last '*' takes one more character.
    size_t star = p++;
    size_t starText = t;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            starText = t;
        } else if (p < pattern.size() && matchesOne(pattern[p], text[t])) {
            ++p;
            ++t;
        } else {
            p = star + 1;
            t = ++starText;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace eng
