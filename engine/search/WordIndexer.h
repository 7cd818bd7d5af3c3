#pragma once

#include <cstdint>
#include <functional>

#include "engine.h"
#include "search/WordSplitter.h"
#include "store/ProjectTables.h"

namespace eng {

// Where an indexing run is, as its progress notification tells it.
struct IndexProgress {
    int32_t phase = ENG_INDEX_STARTING;
    uint32_t bodies = 0;  // to index
    uint32_t done = 0;
    uint32_t words = 0;  // written so far
};

// What an indexing run did, with the time spent making words from bodies and
// the time spent writing them.
struct IndexRun {
    uint32_t bodies = 0;
    uint32_t words = 0;
    double extractSeconds = 0;
    double importSeconds = 0;
};

// Indexes every page and text body that is not indexed yet: each body's words
// (see bodyText and WordSplitter) become rows of the word index, numbered from
// 0 in the body, through the one prepared insert, and the body is marked
// indexed. A body that cannot be read stays unindexed. Runs inside the
// caller's transaction; an exception leaves the caller to roll it all back.
class WordIndexer {
public:
    using Report = std::function<void(const IndexProgress &)>;

    WordIndexer(ProjectTables &tables, const WordSplitter &splitter) : tables_(tables), splitter_(splitter) {}

    IndexRun run(const Report &report);

private:
    ProjectTables &tables_;
    const WordSplitter &splitter_;
};

// The project's noise words, lowercased.
std::unordered_set<std::string> noiseWordsOf(CNoiseWordsTable &table);

}  // namespace eng
