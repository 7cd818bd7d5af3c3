#pragma once

#include <cstdint>
#include <optional>

#include <QString>

// How fast the engine extracted and imported words when it last built the
// word index, as the program trusts those figures: a stored speed below the
// lowest plausible one is taken as that one, so that a run over a few words
// does not promise too much.
struct IndexSpeeds {
    uint32_t extractWordsPerSec = 10000;
    uint32_t indexWordsPerSec = 30000;

    // The speeds from the stored values (nothing: the value cannot be read).
    static IndexSpeeds fromStored(std::optional<uint32_t> extract, std::optional<uint32_t> index);
};

// The seconds that indexing bodies of so many bytes will take: about one
// word in 22 bytes, each extracted and then imported at the speeds.
uint64_t estimatedIndexSeconds(uint64_t bytes, IndexSpeeds speeds);
// A span of seconds as "hh:mm:ss" (more hours take more digits).
QString durationText(uint64_t seconds);
// The question that asks to index bodies of so many bytes before a search of their words.
QString indexQuestion(uint64_t bytes, IndexSpeeds speeds);
