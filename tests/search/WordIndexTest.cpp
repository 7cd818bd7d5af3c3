#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/SettingsStore.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "engine.h"
#include "store/ProjectTables.h"
#include "support/OpenProject.h"
#include "support/ProjectFiles.h"
#include "support/TempDir.h"

namespace {

using namespace std::chrono_literals;

struct Page {
    std::string contentType;
    std::string body;
};

// A project whose Eng_GetStatistics stores the given bodies (and, when asked,
// makes every insert of the word "boom" into the index fail), with the
// settings file in a folder of its own.
class WordIndexTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_CONFIG_HOME", configHome_.path().c_str(), 1); }
    void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }

    eng::CommandTable storing(std::vector<Page> pages, bool refuseBoom = false) {
        eng::CommandTable table = eng::defaultCommandTable();
        table.set(eng::msg::kGetStatistics, {[pages, refuseBoom](eng::DispatchContext &c) {
                      int n = 0;
                      for (const Page &p : pages) {
                          c.engine.tables().res.storeFetched(
                              eng::MemoryBytes(std::vector<uint8_t>(p.body.begin(), p.body.end())), p.contentType,
                              "http://h/" + std::to_string(n++));
                      }
                      if (refuseBoom)
                          c.engine.database().execute(
                              "CREATE TEMP TRIGGER refuse BEFORE INSERT ON \"Index\" WHEN NEW.Word = 'boom' "
                              "BEGIN SELECT RAISE(ABORT, 'refused'); END");
                      return intptr_t{0};
                  }});
        return table;
    }

    static std::array<uint32_t, 2> notIndexed() {
        std::array<uint32_t, 2> cells{99, 99};
        Eng_CountNotIndexedResources(&cells[0], &cells[1]);
        return cells;
    }

    // The phases of the index progress notifications posted so far.
    static std::vector<std::array<int32_t, 5>> progress(test::OpenProject &project) {
        std::vector<std::array<int32_t, 5>> all;
        while (auto p = project.notifications().take(0ms)) {
            if (p->msg != ENG_NOTIFY_INDEX) continue;
            EXPECT_EQ(p->wParam, sizeof(EngIndexProgressRecord));
            EngIndexProgressRecord r{};
            std::memcpy(&r, reinterpret_cast<const void *>(p->lParam), sizeof r);
            all.push_back({r.phase, r.bodies, r.done, r.words, r.reserved});
        }
        return all;
    }

    std::optional<uint32_t> speed(std::string_view name) const {
        return eng::SettingsStore(configHome_.file("Quenmar/Lark.conf")).readNumber(name);
    }

    test::TempDir configHome_;
};

TEST_F(WordIndexTest, IndexesPagesAndTextsOnceWithProgressAndSpeeds) {
    test::OpenProject project(storing({{"text/html", "<html>The Cat's 2 <b>dogs</b>&amp;CATS</html>"},
                                       {"text/html", "<p>the and of</p>"},
                                       {"text/plain", "left&nbsp;right \xC3\x89t\xC3\xA9"},
                                       {"image/gif", "GIF89a words in an image"}}));
    ASSERT_EQ(project.openResult(), 0);
    Eng_GetStatistics(nullptr, nullptr);
    EXPECT_EQ(notIndexed()[0], 3u);
    progress(project);

    EXPECT_EQ(Eng_IndexDatabase(), 1);
    EXPECT_EQ(notIndexed(), (std::array<uint32_t, 2>{0, 0}));
    auto phases = progress(project);
    ASSERT_EQ(phases.size(), 6u);  // starting, extracting, one per body, importing
    EXPECT_EQ(phases[0][0], 1);
    EXPECT_EQ(phases[1], (std::array<int32_t, 5>{2, 3, 0, 0, 0}));
    EXPECT_EQ(phases[5][0], 3);
    EXPECT_EQ(phases[5][2], 3);
    EXPECT_EQ(phases[5][3], 6);
    EXPECT_TRUE(speed(eng::SettingsStore::kIndexWordsPerSec));
    EXPECT_TRUE(speed(eng::SettingsStore::kExtractWordsPerSec));

    std::filesystem::remove_all(configHome_.file("Quenmar"));
    EXPECT_EQ(Eng_IndexDatabase(), 1);  // nothing left: no rows, no speeds
    EXPECT_FALSE(speed(eng::SettingsStore::kIndexWordsPerSec));
    Eng_CloseProject();

    EXPECT_EQ(test::queryText(project.path(),
                              "SELECT group_concat(ResId || ':' || Word || ':' || Pos, ' ') FROM "
                              "(SELECT * FROM \"Index\" ORDER BY ResId, Pos)"),
              "1:cat:0 1:dogs:1 1:cats:2 3:left:0 3:right:1 3:\xC3\x89t\xC3\xA9:2");
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT count(*) FROM Res WHERE Indexed = 1"), 3);
}

TEST_F(WordIndexTest, LongAndNonLatinWordsAreStoredCutToTwentyCharacters) {
    const std::string russian = "\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";
    test::OpenProject project(storing(
        {{"text/html;charset=windows-1251", "<html>abcdefghijklmnopqrstuvwxyz \xEF\xF0\xE8\xE2\xE5\xF2</html>"}}));
    Eng_GetStatistics(nullptr, nullptr);
    EXPECT_EQ(Eng_IndexDatabase(), 1);
    Eng_CloseProject();
    EXPECT_EQ(test::queryText(project.path(),
                              "SELECT group_concat(Word, ' ') FROM (SELECT Word FROM \"Index\" "
                              "ORDER BY Pos)"),
              "abcdefghijklmnopqrst " + russian);
}

TEST_F(WordIndexTest, AFailedInsertRollsBackEveryBody) {
    test::OpenProject project(
        storing({{"text/html", "<html>fine words</html>"}, {"text/html", "<html>then boom</html>"}}, true));
    Eng_GetStatistics(nullptr, nullptr);
    EXPECT_EQ(Eng_IndexDatabase(), 0);
    EXPECT_EQ(notIndexed()[0], 2u);
    EXPECT_FALSE(speed(eng::SettingsStore::kIndexWordsPerSec));
    Eng_CloseProject();
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT count(*) FROM \"Index\""), 0);
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT count(*) FROM Res WHERE Indexed = 1"), 0);
}

// Stores a page resource titled "Home Page", retitles it, moves it to a
// new body with the same title, and deletes it, reading the title rows after
// each step.
TEST_F(WordIndexTest, TitleRowsFollowThePageThroughItsChanges) {
    std::vector<std::string> seen;
    eng::CommandTable table = eng::defaultCommandTable();
    table.set(eng::msg::kGetStatistics, {[&seen](eng::DispatchContext &c) {
                  eng::ProjectTables &t = c.engine.tables();
                  auto rows = [&](uint32_t body) {
                      std::string text;
                      for (const eng::WordRow &r : t.titleIndex.wordsOf(body))
                          text += r.word + ":" + std::to_string(r.pos) + " ";
                      seen.push_back(text);
                  };
                  auto store = [&](const std::string &page) {
                      return t.res
                          .storeFetched(eng::MemoryBytes(std::vector<uint8_t>(page.begin(), page.end())), "text/html",
                                        "http://h/")
                          .key;
                  };
                  eng::UrlResRow page = t.urlRes.make(t.strings.intern("http://h/", eng::StringKind::Url, true), 0);
                  page.type = 1;
                  page.resId = store("<html>first</html>");
                  page.title = "Home Page";
                  t.urlRes.insert(page);
                  rows(page.resId);
                  page.title = "The Front";
                  t.urlRes.update(page);
                  rows(page.resId);
                  const uint32_t oldBody = page.resId;
                  page.resId = store("<html>second</html>");
                  t.urlRes.update(page);
                  rows(oldBody);
                  rows(page.resId);
                  t.urlRes.release(page.urlResId);
                  rows(page.resId);
                  return intptr_t{0};
              }});
    test::OpenProject project(table);
    Eng_GetStatistics(nullptr, nullptr);
    EXPECT_EQ(seen, (std::vector<std::string>{"home:1 page:2 ", "front:1 ", "", "front:1 ", ""}));
}

}  // namespace
