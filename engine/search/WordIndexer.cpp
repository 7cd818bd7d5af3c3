#include "search/WordIndexer.h"

#include <chrono>
#include <string>
#include <vector>

#include "base/AsciiText.h"
#include "search/BodyText.h"

namespace eng {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

struct PendingBody {
    uint32_t key;
    std::string contentType;
};

std::vector<PendingBody> pendingBodies(SavedQueries &queries) {
    Statement &select = queries.get("Select Not Indexed");
    select.reset();
    std::vector<PendingBody> pending;
    while (select.step()) pending.push_back({static_cast<uint32_t>(select.integer(0)), select.text(2)});
    select.reset();
    return pending;
}

}  // namespace

std::unordered_set<std::string> noiseWordsOf(CNoiseWordsTable &table) {
    std::unordered_set<std::string> words;
    for (const NoiseWordRow &row : table.all()) {
        words.insert(asciiLowered(row.word));
    }
    return words;
}

IndexRun WordIndexer::run(const Report &report) {
    IndexRun result;
    IndexProgress progress;
    report(progress);
    const std::vector<PendingBody> pending = pendingBodies(tables_.queries);
    if (pending.empty()) return result;

    progress.phase = ENG_INDEX_EXTRACTING;
    progress.bodies = static_cast<uint32_t>(pending.size());
    report(progress);
    // A first run writes every row before the index on the words is built,
    // in about half the time that keeping it up to date row by row takes.
    const bool first = tables_.index.empty();
    if (first) tables_.index.dropWordLookup();
    Statement &insert = tables_.queries.get("Import Words");
    for (const PendingBody &body : pending) {
        auto start = Clock::now();
        std::optional<StoredBody> stored = tables_.res.read(body.key);
        if (!stored) continue;
        std::string_view bytes(reinterpret_cast<const char *>(stored->bytes.data()), stored->bytes.size());
        std::vector<std::string> words = splitter_.words(bodyText(body.contentType, bytes));
        result.extractSeconds += secondsSince(start);

        start = Clock::now();
        for (size_t pos = 0; pos < words.size(); ++pos) {
            insert.bind(1, int64_t{body.key}).bind(2, words[pos]).bind(3, static_cast<int64_t>(pos));
            insert.run();
        }
        tables_.res.setIndexed(body.key, true);
        result.importSeconds += secondsSince(start);

        ++result.bodies;
        result.words += static_cast<uint32_t>(words.size());
        progress.done = result.bodies;
        progress.words = result.words;
        report(progress);
    }
    if (first) {
        const auto start = Clock::now();
        tables_.index.restoreWordLookup();
        result.importSeconds += secondsSince(start);
    }
    progress.phase = ENG_INDEX_IMPORTING;
    report(progress);
    return result;
}

}  // namespace eng
