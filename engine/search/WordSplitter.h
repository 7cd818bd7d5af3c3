#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace eng {

// Splits UTF-8 text into the words the index holds. Delimiters are the blank,
// the punctuation . , ` ; ? ! " ' ( ) / * [ ] { } # $ % @ ~ | + - = _ & ^ : \ < >,
// every control byte 0 to 31, the byte 127 and the no-break space (the two
// bytes C2 A0, taken as one delimiter). Every other byte, digits and the
// bytes of non-Latin letters included, belongs to a word. A word's capitals A
// to Z become small letters (other letters stay as written); a word that is
// then a noise word is left out, and a word longer than kMaxWordLength
// characters keeps its first kMaxWordLength characters. Pure work on bytes:
// no database, safe to run on any thread.
class WordSplitter {
public:
    static constexpr size_t kMaxWordLength = 20;

    // noiseWords: lowercase words compared exactly with each lowercased word.
    explicit WordSplitter(std::unordered_set<std::string> noiseWords);

    // Calls `take` with each written word in order; returns how many.
    uint32_t forEachWord(std::string_view text, const std::function<void(std::string_view)> &take) const;
    std::vector<std::string> words(std::string_view text) const;

    // Whether a lowercased word is one of the noise words.
    bool isNoiseWord(const std::string &word) const { return noiseWords_.contains(word); }

    // A word as the index holds it: capitals A to Z made small, cut to its
    // first kMaxWordLength UTF-8 characters (never inside one).
    static std::string indexedForm(std::string_view word);

private:
    std::unordered_set<std::string> noiseWords_;
};

}  // namespace eng
