#include <gtest/gtest.h>

#include "base/UrlHash.h"
#include "client/RecordBuffer.h"
#include "engine.h"
#include "support/OpenProject.h"
#include "support/ProjectFiles.h"

namespace {

struct Pair {
    EngItemRecord item;
    uint32_t resource;
    std::string url;
};

// The (item, resource) pairs an export answers with, strings released.
template <class Export, class... Arguments>
std::vector<Pair> call(Export answering, Arguments... arguments) {
    const auto pairs = eng::client::receiveRecords<eng::client::ItemResource>(Eng_FreeMem, answering, arguments...);
    EXPECT_TRUE(pairs.whole());
    std::vector<Pair> out;
    for (const eng::client::ItemResource &pair : pairs)
        out.push_back({pair.item, pair.resource.id, eng::client::text(pair.resource.url)});
    return out;
}

// Task 1 holds a page (item 1, its main item), an image (item 2) and a page
// not fetched yet (item 3). The page links to the image (kind 1), to itself
// twice (kind 0) and to a page never fetched (kind 0).
void fill(const std::string &path) {
    test::executeSql(path, R"(
        INSERT INTO Strings (StrId, Type, RefCount, String) VALUES
          (1, 1, 3, 'http://h/'), (2, 1, 2, 'http://h/logo.gif'), (3, 1, 2, 'http://h/later.html');
        INSERT INTO Tasks (TaskId, UrlId, MainItemId, State) VALUES (1, 1, 1, 2);
        INSERT INTO Res (ResId, Size, Hash, Type, ContentType, RefCount) VALUES (1, 10, 1, 1, 'text/html', 1);
        INSERT INTO UrlRes (UrlResId, UrlId, ResId, State, Url, DoneTime, RefCount) VALUES
          (1, 1, 1, 2, 'http://h/', 45000, 1), (2, 2, 0, 2, 'http://h/logo.gif', 45000, 1);
        INSERT INTO Items (ItemId, TaskId, UrlId, UrlResId, Level) VALUES (1, 1, 1, 1, 0), (2, 1, 2, 2, 0),
          (3, 1, 3, 0, 1);
        INSERT INTO Rel (ResId, UrlId, PostId, Relation) VALUES (1, 2, 0, 1), (1, 1, 0, 0), (1, 1, 0, 0),
          (1, 3, 0, 0);
    )");
}

}  // namespace

TEST(ItemCommands, TaskItemsLeaveOutItemsWithoutAResource) {
    test::OpenProject project;
    Eng_CloseProject();
    fill(project.path());
    ASSERT_EQ(Eng_OpenProject(project.path().c_str(), nullptr, nullptr, nullptr), 0);
    auto items = call(Eng_GetTaskItems, 1);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].item.item, 1u);
    EXPECT_EQ(items[0].url, "http://h/");
    EXPECT_EQ(items[1].resource, 2u);
    EXPECT_TRUE(call(Eng_GetTaskItems, 9).empty());

    auto main = call(Eng_FindTaskItem, 1, 0);
    ASSERT_EQ(main.size(), 1u);
    EXPECT_EQ(main[0].item.item, 1u);
    EXPECT_EQ(call(Eng_FindTaskItem, 1, 2).at(0).resource, 2u);
    EXPECT_TRUE(call(Eng_FindTaskItem, 1, 3).empty());
    EXPECT_TRUE(call(Eng_FindTaskItem, 7, 0).empty());
}

TEST(ItemCommands, RelatedResourcesByGroup) {
    test::OpenProject project;
    Eng_CloseProject();
    fill(project.path());
    ASSERT_EQ(Eng_OpenProject(project.path().c_str(), nullptr, nullptr, nullptr), 0);
    auto embedded = call(Eng_GetRelItems, 1, ENG_REL_EMBEDDED);
    ASSERT_EQ(embedded.size(), 1u);
    EXPECT_EQ(embedded[0].resource, 2u);
    EXPECT_EQ(embedded[0].item.task, 0u);

    auto out = call(Eng_GetRelItems, 1, ENG_REL_HYPERLINKS);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[2].resource, 0u);  // never fetched: the address alone
    EXPECT_EQ(out[2].url, "http://h/later.html");

    auto linking = call(Eng_GetRelItems, 1, ENG_REL_LINKED_BY);
    EXPECT_EQ(linking.size(), 2u);  // the page links to itself twice
    EXPECT_EQ(call(Eng_GetRelItems, 2, ENG_REL_LINKED_BY).size(), 1u);
    EXPECT_TRUE(call(Eng_GetRelItems, 1, 0).empty());
    EXPECT_TRUE(call(Eng_GetRelItems, 1, 4).empty());
    EXPECT_TRUE(call(Eng_GetRelItems, 99, ENG_REL_EMBEDDED).empty());
}

// The links of an address come from its latest fetch that has a body, in the
// order the page holds them; a fetch without a body, an address never
// fetched and one the project does not know have no stored page.
TEST(ItemCommands, StoredLinksOfAnAddress) {
    test::OpenProject project;
    Eng_CloseProject();
    fill(project.path());
    test::executeSql(project.path(), R"(
        INSERT INTO UrlRes (UrlResId, UrlId, ResId, State, Url, DoneTime, RefCount) VALUES
          (3, 1, 0, 3, 'http://h/', 46000, 1);
    )");
    // Addresses are found by their hash, as the engine stores them.
    for (const char *url : {"http://h/", "http://h/logo.gif", "http://h/later.html"})
        test::executeSql(project.path(),
                         "UPDATE Strings SET Hash = " + std::to_string(static_cast<int32_t>(eng::urlHash(url))) +
                             " WHERE String = '" + url + "'");
    ASSERT_EQ(Eng_OpenProject(project.path().c_str(), nullptr, nullptr, nullptr), 0);
    auto [stored, buffer] = eng::client::receiveWithResult(Eng_FreeMem, Eng_GetStoredLinks, "HTTP://H", "");
    EXPECT_EQ(stored, 1);
    const eng::client::RecordBuffer<EngLinkRecord> links(std::move(buffer));
    EXPECT_TRUE(links.whole());
    std::string listed;
    for (const EngLinkRecord &link : links)
        listed += std::to_string(link.kind) + " " + eng::client::text(link.url) + " [" +
                  eng::client::text(link.formData) + "]\n";
    EXPECT_EQ(listed, "1 http://h/logo.gif []\n0 http://h/ []\n0 http://h/ []\n0 http://h/later.html []\n");

    for (const char *none : {"http://h/logo.gif", "http://h/later.html", "http://other/", "mailto:me@h", ""}) {
        auto [found, nothing] = eng::client::receiveWithResult(Eng_FreeMem, Eng_GetStoredLinks, none, "");
        EXPECT_EQ(found, 0) << none;
        EXPECT_TRUE(nothing.bytes().empty()) << none;
    }
    EXPECT_EQ(eng::client::receiveWithResult(Eng_FreeMem, Eng_GetStoredLinks, "http://h/", "a=1").first, 0);
}

// The figures count the rows of the main tables, whatever their state.
TEST(ItemCommands, ProjectFigures) {
    test::OpenProject project;
    Eng_CloseProject();
    fill(project.path());
    ASSERT_EQ(Eng_OpenProject(project.path().c_str(), nullptr, nullptr, nullptr), 0);
    const auto figures = eng::client::receiveRecords<EngProjectFigures>(Eng_FreeMem, Eng_GetProjectFigures);
    ASSERT_EQ(figures.bytes().size(), sizeof(EngProjectFigures));
    const EngProjectFigures f = figures.at(0);
    EXPECT_EQ(f.version, 257u);
    EXPECT_EQ(f.tasks, 1u);
    EXPECT_EQ(f.urlResources, 2u);
    EXPECT_EQ(f.bodies, 1u);
    EXPECT_EQ(f.strings, 3u);
}
