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
#include "store/Database.h"

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

        db_->begin();
        eng::Statement res = db_->prepare("INSERT INTO Res (ResId, Type, Indexed, Size) VALUES (?, 1, 1, 0)");
        eng::Statement urlRes = db_->prepare("INSERT INTO UrlRes (ResId, State, Url) VALUES (?, 2, ?)");
        for (int id = 1; id <= kPages; ++id) {
            res.bind(1, int64_t{id}).run();
            res.reset();
            urlRes.bind(1, int64_t{id}).bind(2, "http://h/" + std::to_string(id)).run();
            urlRes.reset();
        }
        auto start = std::chrono::steady_clock::now();
        eng::Statement word_ = db_->prepare("INSERT INTO \"Index\" (ResId, Word, Pos) VALUES (?, ?, ?)");
        for (int id = 1; id <= kPages; ++id)
            for (int pos = 0; pos < kWordsPerPage; ++pos) {
                word_.bind(1, int64_t{id}).bind(2, pages[id - 1][pos]).bind(3, int64_t{pos}).run();
                word_.reset();
            }
        std::printf("word index: %d pages of %d words written in %.2f s\n", kPages, kWordsPerPage, secondsSince(start));
        start = std::chrono::steady_clock::now();
        eng::Statement text = db_->prepare("INSERT INTO fts (rowid, body) VALUES (?, ?)");
        for (int id = 1; id <= kPages; ++id) {
            std::string body;
            for (const std::string &w : pages[id - 1]) body += w + ' ';
            text.bind(1, int64_t{id}).bind(2, body).run();
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

const eng::WordSplitter kNoNoise({});

void engineSearch(benchmark::State &state) {
    const Question &q = questions()[state.range(0)];
    state.SetLabel(q.name);
    eng::SearchRequest request;
    request.bodyQuery = q.query;
    request.states = 6;
    const eng::SearchStatement statement = eng::searchStatement(request, kNoNoise);
    eng::Database &db = corpus().db();
    size_t found = 0;
    for (auto _ : state) found = eng::runSearch(db, statement).size();
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
