#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "RecordBuffer.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "engine.h"
#include "store/ProjectTables.h"
#include "support/OpenProject.h"
#include "support/ProjectFiles.h"

namespace {

using namespace std::chrono_literals;

// A URL resource to store: a body of the content type (none when empty).
struct Stored {
    std::string path{};
    std::string body{};
    std::string title{};
    std::string contentType = "text/html";
    uint32_t state = ENG_STATE_DONE;
    bool error = false;
    double done = 0;
};

// The search request's fields, with the defaults of a search by words alone
// among the done resources.
struct Request {
    std::string body{};
    std::string title{};
    std::string url{};
    int16_t states = 6;
    int32_t max = -1;
    int32_t minSize = 0, maxSize = INT32_MAX;
    double doneFrom = 0, doneTo = 0;
    int32_t type = 0;
};

// A project whose Eng_GetStatistics stores the next batch of resources it is
// given (with their title rows, through the URL-resource table).
class SearchItemsTest : public ::testing::Test {
protected:
    static void store(eng::ProjectTables &t, const Stored &s) {
        const std::string url = "http://h/" + s.path;
        eng::UrlResRow row = t.urlRes.make(t.strings.intern(url, eng::StringKind::Url, true), 0);
        if (!s.body.empty()) {
            const auto body = t.res.storeFetched(eng::MemoryBytes(std::vector<uint8_t>(s.body.begin(), s.body.end())),
                                                 s.contentType, url);
            row.resId = body.key;
            row.type = body.type;
            row.size = static_cast<uint32_t>(s.body.size());
        }
        row.title = s.title;
        row.state = s.state;
        row.error = s.error;
        row.doneTime = s.done;
        t.urlRes.insert(row);
    }

    void open(std::vector<std::vector<Stored>> batches) {
        eng::CommandTable table = eng::defaultCommandTable();
        auto next = std::make_shared<size_t>(0);
        table.set(eng::msg::kGetStatistics, {[batches, next](eng::DispatchContext &c) {
                      if (*next < batches.size())
                          for (const Stored &s : batches[(*next)++]) store(c.engine.tables(), s);
                      return intptr_t{0};
                  }});
        project_ = std::make_unique<test::OpenProject>(table);
        ASSERT_EQ(project_->openResult(), 0);
        Eng_GetStatistics(nullptr, nullptr);
    }

    // The result and the paths of the resources found, in the order given.
    static std::pair<int32_t, std::vector<std::string>> search(const Request &r) {
        using eng::client::ItemResource;
        auto [result, buffer] = eng::client::receiveWithResult(Eng_FreeMem, Eng_SearchItems, r.max, r.body.c_str(),
                                                               r.states, r.url.c_str(), r.title.c_str(), r.minSize,
                                                               r.maxSize, r.doneFrom, r.doneTo, 0.0, 0.0, r.type);
        const eng::client::RecordBuffer<ItemResource> pairs(std::move(buffer));
        EXPECT_TRUE(pairs.whole());
        std::vector<std::string> paths;
        for (const ItemResource &pair : pairs) {
            const EngItemRecord item = pair.item;
            EXPECT_EQ(item.item, 0u);
            EXPECT_EQ(item.task, 0u);
            paths.push_back(eng::client::text(pair.resource.url).substr(std::strlen("http://h/")));
        }
        return {result, paths};
    }

    static std::vector<std::string> found(const std::string &body, const std::string &title = "") {
        Request r;
        r.body = body;
        r.title = title;
        auto [result, paths] = search(r);
        EXPECT_EQ(result, 1) << body;
        return paths;
    }

    using Paths = std::vector<std::string>;
    std::unique_ptr<test::OpenProject> project_;
};

TEST_F(SearchItemsTest, WordsPhrasesAndNoiseWords) {
    open({{{"a", "<html>The Cat's 2 <b>dogs</b>&amp;CATS</html>"},
           {"b", "<p>a cat and a dog</p>"},
           {"c", "<p>cats dogs</p>"},
           {"d", "<p>red the car</p>"},
           {"e", "<p>car red</p>"}}});
    ASSERT_EQ(Eng_IndexDatabase(), 1);
    EXPECT_EQ(found("cat"), (Paths{"a", "b"}));
    EXPECT_EQ(found("dogs cats"), (Paths{"a", "c"}));
    EXPECT_EQ(found("\"dogs cats\""), (Paths{"a"}));
    EXPECT_EQ(found("\"cats dogs\""), (Paths{"c"}));
    EXPECT_EQ(found("'cat dogs CATS'"), (Paths{"a"}));
    // Loose words anywhere; a phrase's words one after the other, noise words not counted.
    EXPECT_EQ(found("red car"), (Paths{"d", "e"}));
    EXPECT_EQ(found("\"red car\""), (Paths{"d"}));
    EXPECT_EQ(found("The car"), found("the car"));
    EXPECT_EQ(found("cat or red and not car"), (Paths{"a", "b"}));
    EXPECT_EQ(found("(cat or red) and not dogs"), (Paths{"b", "d", "e"}));
}

TEST_F(SearchItemsTest, NotCountsOnlyIndexedPagesAndTexts) {
    // The last page is stored after indexing, so never indexed.
    open({{{"ship", "<p>a ship</p>"},
           {"boat", "<p>a boat</p>"},
           {"noise", "<p>the of</p>"},
           {"text", "plain ship words", "", "text/plain"},
           {"image", "GIF89a a boat", "", "image/gif"}},
          {{"later", "<p>a late boat</p>"}}});
    ASSERT_EQ(Eng_IndexDatabase(), 1);
    Eng_GetStatistics(nullptr, nullptr);
    EXPECT_EQ(found("not ship"), (Paths{"boat", "noise"}));
    EXPECT_EQ(found("not not ship"), (Paths{"ship", "text"}));
    EXPECT_EQ(found("not (ship or boat)"), (Paths{"noise"}));
    // A body without words satisfies "not ship" whatever the other side of the OR.
    EXPECT_EQ(found("boat or not ship"), (Paths{"boat", "noise"}));
    EXPECT_EQ(found("plain or words"), (Paths{"text"}));
}

TEST_F(SearchItemsTest, PatternsIgnoreLetterCase) {
    open({{{"a", "<p>cat cats</p>"}, {"b", "<p>cot 42</p>"}, {"c", "<p>coat x7</p>"}, {"d", "<p>bat</p>"}}});
    ASSERT_EQ(Eng_IndexDatabase(), 1);
    EXPECT_EQ(found("CA*"), (Paths{"a"}));
    EXPECT_EQ(found("c?t"), (Paths{"a", "b"}));
    EXPECT_EQ(found("c*t"), (Paths{"a", "b", "c"}));
    EXPECT_EQ(found("[!c]at"), (Paths{"d"}));
    EXPECT_EQ(found("[a-c]?t and not c[a]*"), (Paths{"b", "d"}));
    EXPECT_EQ(found("#2 or ?#"), (Paths{"b", "c"}));
    EXPECT_EQ(found("\"cot #*\""), (Paths{"b"}));
}

TEST_F(SearchItemsTest, FieldCriteriaStatesTitlesAndLimit) {
    open({{{"one", "<p>ship one</p>", "Home Page", "text/html", ENG_STATE_DONE, false, 100.5},
           {"two", "<p>ship two</p>", "The Front", "text/html", ENG_STATE_DONE, false, 200.5},
           {"Three", "ship three", "", "text/plain", ENG_STATE_DONE, true, 300.5},
           {"four", "", "", "text/html", ENG_STATE_QUEUED},
           {"five", "", "", "text/html", ENG_STATE_SUSPENDED}}});
    ASSERT_EQ(Eng_IndexDatabase(), 1);
    auto paths = [](Request r) {
        auto [result, found] = search(r);
        EXPECT_EQ(result, 1);
        return found;
    };
    EXPECT_EQ(paths({.states = 4}), (Paths{"one", "two"}));
    EXPECT_EQ(paths({.states = 2}), (Paths{"Three"}));
    EXPECT_EQ(paths({.states = 1}), (Paths{"four", "five"}));
    EXPECT_EQ(paths({.states = 3}), (Paths{"Three", "four"}));
    EXPECT_EQ(paths({.states = 7}), (Paths{"one", "two", "Three", "four"}));
    EXPECT_EQ(paths({.states = 0}), (Paths{}));
    EXPECT_EQ(paths({.url = "*/T*", .states = 7}), (Paths{"two", "Three"}));
    EXPECT_EQ(paths({.url = "*", .states = 7}).size(), 4u);
    EXPECT_EQ(paths({.minSize = 10, .maxSize = 10}), (Paths{"Three"}));
    EXPECT_EQ(paths({.doneFrom = 150, .doneTo = 300.5}), (Paths{"two", "Three"}));
    EXPECT_EQ(paths({.type = 6}), (Paths{"Three"}));
    EXPECT_EQ(paths({.body = "ship", .max = 2}), (Paths{"one", "two"}));
    EXPECT_EQ(paths({.body = "ship", .max = 0}), (Paths{}));
    // Titles: their own words; "*" is no condition.
    EXPECT_EQ(paths({.title = "home"}), (Paths{"one"}));
    EXPECT_EQ(paths({.title = "*"}), (Paths{"one", "two", "Three"}));
    EXPECT_EQ(paths({.title = "\"home page\" or front"}), (Paths{"one", "two"}));
    // A title query and a body query, both with NOT.
    EXPECT_EQ(paths({.body = "not two", .title = "not front"}), (Paths{"one", "Three"}));
}

TEST_F(SearchItemsTest, QueriesThatDoNotParseAndBadPatterns) {
    open({{{"a", "<p>ship</p>"}}});
    ASSERT_EQ(Eng_IndexDatabase(), 1);
    while (project_->notifications().take(0ms)) {
    }
    auto states = [&] {
        std::vector<std::pair<int32_t, int32_t>> all;
        while (auto p = project_->notifications().take(0ms)) {
            if (p->msg == ENG_NOTIFY_SEARCH) {
                EXPECT_EQ(p->wParam, sizeof(EngSearchProgressRecord));
                EngSearchProgressRecord r{};
                std::memcpy(&r, reinterpret_cast<const void *>(p->lParam), sizeof r);
                all.emplace_back(r.state, r.error);
            }
        }
        return all;
    };
    EXPECT_EQ(search({.body = "The of"}).first, -1);  // only noise words
    EXPECT_EQ(search({.body = "ship", .title = "(home"}).first, -1);
    EXPECT_EQ(states(), (std::vector<std::pair<int32_t, int32_t>>{{1, 0}, {1, 0}}));
    // A pattern that cannot be matched is an error of the search: 0, and the failure told.
    auto [result, paths] = search({.body = "sh[ip"});
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(paths.empty());
    const auto told = states();
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[1].first, ENG_SEARCH_FAILED);
    EXPECT_EQ(search({.body = "ship"}), (std::pair<int32_t, Paths>{1, {"a"}}));
}

TEST_F(SearchItemsTest, ValidationGivesTheCodeAndWhere) {
    open({});
    auto check = [](const char *text, int32_t mode) {
        int32_t at = 99;
        const int32_t code = Eng_ValidateQueryAt(text, mode, &at);
        EXPECT_EQ(Eng_ValidateQuery(text, mode), code);
        return std::pair{code, at};
    };
    using Result = std::pair<int32_t, int32_t>;
    EXPECT_EQ(check("red \"car", ENG_QUERY_SEARCH), (Result{-3, 5}));
    EXPECT_EQ(check("( ship", ENG_QUERY_SEARCH), (Result{-2, 2}));
    EXPECT_EQ(check("( The of", ENG_QUERY_SEARCH), (Result{-5, 0}));
    EXPECT_EQ(check("  ship and", ENG_QUERY_SEARCH), (Result{-4, 7}));
    EXPECT_EQ(check("red (car)", ENG_QUERY_SEARCH), (Result{-6, 4}));
    EXPECT_EQ(check("\"red (car)\" and not not boat", ENG_QUERY_SEARCH), (Result{0, -1}));
    // Filter expressions: where in the text as given.
    EXPECT_EQ(check("  *.gif *.png", ENG_QUERY_FILTER), (Result{-6, 8}));
    EXPECT_EQ(check("*.gif or *.png", ENG_QUERY_FILTER), (Result{0, -1}));
    EXPECT_EQ(check("anything", 3), (Result{0, -1}));
}

// The first indexing run builds the index on the words after writing the rows.
TEST_F(SearchItemsTest, IndexingLeavesTheWordIndexInPlace) {
    open({{{"a", "<p>first words</p>"}}, {{"b", "<p>more words</p>"}}});
    ASSERT_EQ(Eng_IndexDatabase(), 1);
    Eng_GetStatistics(nullptr, nullptr);
    ASSERT_EQ(Eng_IndexDatabase(), 1);
    EXPECT_EQ(found("words"), (Paths{"a", "b"}));
    Eng_CloseProject();
    EXPECT_EQ(test::queryText(project_->path(), "SELECT sql FROM sqlite_master WHERE name = 'Index.Word'"),
              "CREATE INDEX \"Index.Word\" ON \"Index\" (Word, ResId, Pos)");
}

TEST(SearchIndexes, AnOlderProjectGetsTheWordIndexesWhenOpened) {
    test::TempDir dir;
    const std::string path = dir.file("old.slk");
    test::writeProjectFile(path);
    test::executeSql(path, "DROP INDEX \"Index.Word\"; DROP INDEX \"Title_Index.Word\"");
    ASSERT_EQ(Eng_OpenProject(path.c_str(), nullptr, nullptr, nullptr), 0);
    Eng_CloseProject();
    EXPECT_EQ(test::queryInteger(path,
                                 "SELECT count(*) FROM sqlite_master WHERE name IN "
                                 "('Index.Word', 'Title_Index.Word')"),
              2);
}

}  // namespace
