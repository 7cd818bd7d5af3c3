#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "RecordBuffer.h"
#include "engine.h"
#include "support/RunLark.h"
#include "support/TempDir.h"

namespace {

// The words the generated pages are written with, in mixed letter case;
// "the", "and", "of" and "a" are noise words.
const std::vector<std::string> kVocabulary = {"alpha", "Beta", "gamma", "delta", "echo", "fox",  "golf", "hotel",
                                              "india", "kilo", "lima",  "mike",  "cat",  "cats", "car",  "cart",
                                              "CARD",  "42",   "x7",    "7x",    "the",  "and",  "of",   "a"};
const std::vector<std::string> kSeparators = {" ", " ", " ", ", ", ". ", " - ", " (", ") ", " <b>", "</b> ", " &amp; "};

// A stored page as the reference sees it: its words in order, lowercased,
// noise words left out.
using Words = std::vector<std::string>;

// Text of a body: tags dropped (each leaving a blank), "&amp;" read as "&".
std::string plainText(const std::string &html) {
    std::string text;
    bool inTag = false;
    for (size_t i = 0; i < html.size(); ++i) {
        if (inTag) {
            if (html[i] == '>') inTag = false, text += ' ';
        } else if (html[i] == '<') {
            inTag = true;
        } else if (html.compare(i, 5, "&amp;") == 0) {
            text += '&';
            i += 4;
        } else {
            text += html[i];
        }
    }
    return text;
}

Words wordsOf(const std::string &html, const std::set<std::string> &noise) {
    Words words;
    std::string word;
    for (char c : plainText(html) + " ") {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (!word.empty()) {
            if (!noise.contains(word)) words.push_back(word);
            word.clear();
        }
    }
    return words;
}

// * any run, ? one character, # one digit, [..] a class, [!..] its complement.
bool matches(const char *p, const char *w) {
    if (*p == 0) return *w == 0;
    if (*p == '*') return matches(p + 1, w) || (*w && matches(p, w + 1));
    if (*w == 0) return false;
    if (*p == '?') return matches(p + 1, w + 1);
    if (*p == '#') return std::isdigit(static_cast<unsigned char>(*w)) && matches(p + 1, w + 1);
    if (*p == '[') {
        const char *q = p + 1;
        const bool negated = *q == '!';
        if (negated) ++q;
        bool in = false;
        for (; *q != ']'; ++q) {
            if (q[1] == '-' && q[2] != ']') {
                in = in || (*w >= q[0] && *w <= q[2]);
                q += 2;
            } else {
                in = in || *w == *q;
            }
        }
        return in != negated && matches(q + 1, w + 1);
    }
    return *p == *w && matches(p + 1, w + 1);
}

// A query as the test builds it: its text, and its verdict on a page's words.
struct Query {
    std::string text;
    std::function<bool(const Words &)> holds;
};

class QueryMaker {
public:
    QueryMaker(const std::vector<Words> &pages, const std::set<std::string> &noise) : pages_(pages), noise_(noise) {}

    Query any() {
        switch (pick(6)) {
            case 0:
                return words(1 + pick(3));
            case 1:
                return either(word(), word());
            case 2:
                return phrase();
            case 3:
                return pattern();
            case 4:
                return negation();
            default:
                return both(either(word(), pattern()), negation());
        }
    }

private:
    size_t pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }

    std::string lowered(std::string w) const {
        for (char &c : w) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return w;
    }
    // A word of the vocabulary that is not a noise word, written in a random letter case.
    std::string written() {
        std::string w;
        do w = kVocabulary[pick(kVocabulary.size())];
        while (noise_.contains(lowered(w)));
        if (pick(3) == 0) w[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(w[0])));
        return w;
    }
    Query word() {
        const std::string w = written();
        return {w,
                [w = lowered(w)](const Words &page) { return std::find(page.begin(), page.end(), w) != page.end(); }};
    }
    Query words(size_t n) {
        Query q = word();
        // A noise word among them changes nothing.
        for (size_t i = 1; i < n; ++i) q = both(q, word(), pick(4) == 0 ? " the " : " ");
        return q;
    }
    Query both(Query a, Query b, const std::string &joint = " and ") {
        return {a.text + joint + b.text, [a, b](const Words &p) { return a.holds(p) && b.holds(p); }};
    }
    Query either(Query a, Query b) {
        return {"(" + a.text + " or " + b.text + ")", [a, b](const Words &p) { return a.holds(p) || b.holds(p); }};
    }
    // Two or three words; half of the time words that stand together on some page.
    Query phrase() {
        Words ws;
        const Words &page = pages_[pick(pages_.size())];
        const size_t length = 2 + pick(2);
        if (pick(2) == 0 && page.size() >= length) {
            const size_t at = pick(page.size() - length + 1);
            ws.assign(page.begin() + at, page.begin() + at + length);
        } else {
            for (size_t i = 0; i < length; ++i) ws.push_back(lowered(written()));
        }
        std::string text = "\"";
        for (const std::string &w : ws) text += (text.size() > 1 ? " " : "") + w;
        return {text + "\"", [ws](const Words &p) {
                    for (size_t i = 0; i + ws.size() <= p.size(); ++i)
                        if (std::equal(ws.begin(), ws.end(), p.begin() + i)) return true;
                    return false;
                }};
    }
    Query pattern() {
        std::string w = lowered(written());
        switch (pick(5)) {
            case 0:
                w = w.substr(0, 1 + pick(w.size())) + "*";
                break;
            case 1:
                w[pick(w.size())] = '?';
                break;
            case 2:
                w = "[" + w.substr(0, 1) + "x]*";
                break;
            case 3:
                w = "[!" + w.substr(0, 1) + "]" + w.substr(1);
                break;
            default:
                w = "*#*";
        }
        std::string text = w;
        if (pick(2) == 0) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
        return {text, [w](const Words &p) {
                    for (const std::string &word : p)
                        if (matches(w.c_str(), word.c_str())) return true;
                    return false;
                }};
    }
    Query negation() {
        Query inner = pick(3) == 0 ? either(word(), phrase()) : pick(2) ? word() : pattern();
        Query once{"not " + inner.text, [inner](const Words &p) { return !inner.holds(p); }};
        if (pick(5) == 0) return {"not " + once.text, [inner](const Words &p) { return inner.holds(p); }};
        return once;
    }

    const std::vector<Words> &pages_;
    const std::set<std::string> &noise_;
    std::mt19937 random_{20261210};
};

// Rows of a closed project file, read with SQLite alone.
std::vector<std::vector<std::string>> rowsOf(const std::string &path, const std::string &sql) {
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr);
    std::vector<std::vector<std::string>> rows;
    while (sqlite3_step(s) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int c = 0; c < sqlite3_column_count(s); ++c) {
            const auto *bytes = static_cast<const char *>(sqlite3_column_blob(s, c));
            row.emplace_back(bytes ? bytes : "", static_cast<size_t>(sqlite3_column_bytes(s, c)));
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return rows;
}

std::set<std::string> searched(const std::string &query) {
    auto [result, buffer] = eng::client::receiveWithResult(Eng_FreeMem, Eng_SearchItems, -1, query.c_str(), int16_t{6},
                                                           "", "", 0, INT32_MAX, 0.0, 0.0, 0.0, 0.0, 0);
    const eng::client::RecordBuffer<eng::client::ItemResource> found(std::move(buffer));
    EXPECT_EQ(result, 1) << query;
    std::set<std::string> urls;
    for (const eng::client::ItemResource &pair : found) urls.insert(eng::client::text(pair.resource.url));
    return urls;
}

// A generated site crawled and indexed by lark; random queries of words,
// phrases, patterns and NOT give the pages that a plain scan of the stored
// bodies gives.
TEST(SearchComparison, RandomQueriesFindWhatAScanOfTheStoredBodiesFinds) {
    constexpr int kPages = 30;
    constexpr int kQueries = 300;
    test::TempDir dir;
    setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
    std::mt19937 random(7);
    std::string index = "<html><title>Pages</title><body>";
    for (int n = 0; n < kPages; ++n) {
        std::string page = "<html><title>Page " + std::to_string(n) + "</title><body>";
        const int count = 5 + static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i)
            page += kVocabulary[random() % kVocabulary.size()] + kSeparators[random() % kSeparators.size()];
        std::ofstream(dir.file("p" + std::to_string(n) + ".html")) << page << "</body></html>";
        index += "<a href=\"p" + std::to_string(n) + ".html\">" + std::to_string(n) + "</a> ";
    }
    std::ofstream(dir.file("index.html")) << index << "</body></html>";
    const std::string project = dir.file("site.slk");
    const auto mirrored =
        test::runLark("mirror file://" + dir.file("index.html") + " -o " + project + " --depth 1 --index");
    ASSERT_EQ(mirrored.status, 0) << mirrored.output;

    std::set<std::string> noise;
    for (const auto &row : rowsOf(project, "SELECT Word FROM NoiseWords")) noise.insert(row[0]);
    std::map<std::string, Words> pages;
    for (const auto &row : rowsOf(project,
                                  "SELECT UrlRes.Url, Res.Body FROM UrlRes JOIN Res USING (ResId) "
                                  "WHERE UrlRes.State = 2 AND Res.Indexed = 1"))
        pages[row[0]] = wordsOf(row[1], noise);
    ASSERT_EQ(pages.size(), static_cast<size_t>(kPages + 1));

    std::vector<Words> all;
    for (const auto &[url, words] : pages) all.push_back(words);
    QueryMaker maker(all, noise);
    ASSERT_EQ(Eng_OpenProject(project.c_str(), nullptr, nullptr, nullptr), 0);
    size_t nonEmpty = 0;
    for (int q = 0; q < kQueries; ++q) {
        const Query query = maker.any();
        std::set<std::string> expected;
        for (const auto &[url, words] : pages)
            if (query.holds(words)) expected.insert(url);
        nonEmpty += !expected.empty() && expected.size() < pages.size();
        EXPECT_EQ(searched(query.text), expected) << query.text;
    }
    Eng_CloseProject();
    // The queries told pages apart, not only all or none.
    EXPECT_GT(nonEmpty, kQueries / 3);
    unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
