// Word searches of the project's index beside SQLite's FTS5 full-text index
// over the same texts, in one project file. The texts: pages of words drawn
// from a vocabulary with a few frequent words and many rare ones.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "ProjectTemplate.h"
#include "search/ResourceSearch.h"
#include "search/WordIndexer.h"
#include "store/Database.h"
#include "store/ProjectTables.h"

namespace {

constexpr int kPages = 5000;
constexpr int kWordsPerPage = 200;
constexpr int kVocabulary = 20000;

// Word n of the vocabulary: "w" and its number in base 26.
std::string wordNumber(int n) {
    std::string word = "w";
    do word += static_cast<char>('a' + n % 26);
    while ((n /= 26) > 0);
    return word;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

const eng::WordSplitter kNoNoise({});

// A project with every page in both indexes (built once for all benchmarks).
class Corpus {
public:
    Corpus() : path_(std::filesystem::temp_directory_path() / ("search_bench_" + std::to_string(getpid()) + ".slk")) {
        eng::writeNewProject(path_);
        db_ = std::make_unique<eng::Database>(path_);
        db_->takeExclusiveLock();
        db_->execute("CREATE VIRTUAL TABLE fts USING fts5(body)");
        fill();
    }
    ~Corpus() {
        db_.reset();
        std::filesystem::remove(path_);
        std::filesystem::remove(path_.string() + "-wal");
        std::filesystem::remove(path_.string() + "-shm");
    }
    eng::Database &db() { return *db_; }

private:
    // Zipf-like word choice: word n about as often as 1 / (n + 1).
    void fill() {
        std::mt19937 random(20261210);
        std::uniform_real_distribution<double> uniform(0, 1);
        const double logVocabulary = std::log(double(kVocabulary));
        auto word = [&] { return wordNumber(static_cast<int>(std::exp(uniform(random) * logVocabulary)) - 1); };
        std::vector<std::vector<std::string>> pages(kPages);
        for (auto &page : pages)
            for (int i = 0; i < kWordsPerPage; ++i) page.push_back(word());

        std::vector<std::string> texts;
        for (const auto &page : pages) {
            std::string text;
            for (const std::string &w : page) text += w + ' ';
            texts.push_back(std::move(text));
        }

        db_->begin();
        eng::ProjectTables tables(*db_, [](auto...) {});
        std::vector<int64_t> keys;
        for (int id = 1; id <= kPages; ++id) {
            const std::string url = "http://h/" + std::to_string(id);
            const std::string &text = texts[id - 1];
            eng::UrlResRow row = tables.urlRes.make(tables.strings.intern(url, eng::StringKind::Url, true), 0);
            row.resId =
                tables.res
                    .storeFetched(eng::MemoryBytes(std::vector<uint8_t>(text.begin(), text.end())), "text/plain", url)
                    .key;
            keys.push_back(row.resId);
            row.state = ENG_STATE_DONE;
            tables.urlRes.insert(row);
        }
        auto start = std::chrono::steady_clock::now();
        const eng::IndexRun run = eng::WordIndexer(tables, kNoNoise).run([](const eng::IndexProgress &) {});
        std::printf(
            "word index: %u pages, %u words, built by the engine's indexer in %.2f s (%.2f s making words, "
            "%.2f s writing them)\n",
            run.bodies, run.words, secondsSince(start), run.extractSeconds, run.importSeconds);
        start = std::chrono::steady_clock::now();
        eng::Statement text = db_->prepare("INSERT INTO fts (rowid, body) VALUES (?, ?)");
        for (int id = 1; id <= kPages; ++id) {
            text.bind(1, keys[id - 1]).bind(2, texts[id - 1]).run();
            text.reset();
        }
        std::printf("FTS5: the same pages written in %.2f s\n", secondsSince(start));
        db_->commit();
        db_->execute("ANALYZE");
    }

    std::filesystem::path path_;
    std::unique_ptr<eng::Database> db_;
};

Corpus &corpus() {
    static Corpus c;
    return c;
}

// The same question in both languages.
struct Question {
    const char *name;
    std::string query;  // the engine's
    std::string match;  // FTS5's
};

const std::vector<Question> &questions() {
    static const std::vector<Question> all = {
        {"frequent word", "wa", "wa"},
        {"rare word", wordNumber(9000), wordNumber(9000)},
        {"two words", "wb " + wordNumber(300), "wb AND " + wordNumber(300)},
        {"phrase", "\"wa wb\"", "\"wa wb\""},
        {"either word", wordNumber(500) + " or " + wordNumber(700), wordNumber(500) + " OR " + wordNumber(700)},
        {"word without another", "wc and not wd", "wc NOT wd"},
        {"prefix", "wab*", "wab*"},
    };
    return all;
}

void engineSearch(benchmark::State &state) {
    const Question &q = questions()[state.range(0)];
    state.SetLabel(q.name);
    eng::SearchRequest request;
    request.bodyQuery = q.query;
    request.states = 6;
    eng::Database &db = corpus().db();
    size_t found = 0;
    // The statement is made each time, as a search command makes it: that
    // counts the query words' rows to choose the word to start from.
    for (auto _ : state) found = eng::runSearch(db, eng::searchStatement(db, request, kNoNoise)).size();
    state.counters["found"] = double(found);
}

void fts5Search(benchmark::State &state) {
    const Question &q = questions()[state.range(0)];
    state.SetLabel(q.name);
    eng::Statement match = corpus().db().prepare(
        "SELECT UrlRes.UrlResId FROM UrlRes WHERE UrlRes.ResId IN (SELECT rowid FROM fts WHERE fts MATCH ?1) "
        "ORDER BY UrlRes.UrlResId");
    size_t found = 0;
    for (auto _ : state) {
        match.bind(1, q.match);
        found = 0;
        while (match.step()) ++found;
        match.reset();
    }
    state.counters["found"] = double(found);
}

BENCHMARK(engineSearch)->DenseRange(0, 6)->Unit(benchmark::kMicrosecond);
BENCHMARK(fts5Search)->DenseRange(0, 6)->Unit(benchmark::kMicrosecond);

}  // namespace
