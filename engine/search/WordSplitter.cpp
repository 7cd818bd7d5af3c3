#include "search/WordSplitter.h"

#include <array>

#include "base/AsciiText.h"

namespace eng {

namespace {

constexpr std::string_view kPunctuation = " .,`\t\r\n;?!\"'()/*[]{}#$%@~|+-=_&^:\\<>";

constexpr std::array<bool, 256> delimiterBytes() {
    std::array<bool, 256> table{};
    for (char c : kPunctuation) table[static_cast<unsigned char>(c)] = true;
    for (int b = 0; b < 32; ++b) table[b] = true;
    table[127] = true;
    return table;
}
constexpr std::array<bool, 256> kDelimiter = delimiterBytes();

// The length of the delimiter at `at`, 0 when a word byte is there.
size_t delimiterAt(std::string_view text, size_t at) {
    unsigned char byte = static_cast<unsigned char>(text[at]);
    if (kDelimiter[byte]) return 1;
    if (byte == 0xC2 && at + 1 < text.size() && static_cast<unsigned char>(text[at + 1]) == 0xA0) return 2;
    return 0;
}

}  // namespace

std::string WordSplitter::indexedForm(std::string_view word) {
    std::string form;
    size_t characters = 0;
    for (char c : word) {
        bool starts = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (starts && characters++ == kMaxWordLength) break;
        form += asciiLower(c);
    }
    return form;
}

WordSplitter::WordSplitter(std::unordered_set<std::string> noiseWords) : noiseWords_(std::move(noiseWords)) {}

uint32_t WordSplitter::forEachWord(std::string_view text, const std::function<void(std::string_view)> &take) const {
    uint32_t written = 0;
    size_t at = 0;
    while (at < text.size()) {
        if (size_t skip = delimiterAt(text, at)) {
            at += skip;
            continue;
        }
        size_t start = at;
        while (at < text.size() && delimiterAt(text, at) == 0) ++at;
        std::string word = indexedForm(text.substr(start, at - start));
        if (noiseWords_.contains(word)) continue;
        take(word);
        ++written;
    }
    return written;
}

std::vector<std::string> WordSplitter::words(std::string_view text) const {
    std::vector<std::string> all;
    forEachWord(text, [&](std::string_view word) { all.emplace_back(word); });
    return all;
}

}  // namespace eng
