#include <gtest/gtest.h>

#include <cstdio>

#include "base/UrlHash.h"
#include "client/RecordBuffer.h"
#include "engine.h"
#include "support/OpenProject.h"
#include "support/ProjectFiles.h"
#include "sys/ErrorText.h"

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

// Every field of a pair, one line.
std::string described(const eng::client::ItemResource &pair) {
    const EngItemRecord i = pair.item;
    const EngUrlResRecord r = pair.resource;
    char numbers[200];
    std::snprintf(numbers, sizeof numbers, "%u %u %d %.17g %d | %u %u %d %u %u %u %.17g %.17g %d", i.item, i.task,
                  i.level, i.created, i.tag, r.id, r.state, r.status, r.contentLength, r.size, r.error, r.lastModified,
                  r.doneTime, r.type);
    using eng::client::text;
    return std::string(numbers) + " [" + text(r.errorText) + "] [" + text(r.contentType) + "] [" + text(r.title) +
           "] " + text(r.url) + " [" + text(r.formData) + "]";
}

std::vector<std::string> describedPairs(const eng::client::RecordBuffer<eng::client::ItemResource> &pairs) {
    EXPECT_TRUE(pairs.whole());
    std::vector<std::string> lines;
    for (const eng::client::ItemResource &pair : pairs) lines.push_back(described(pair));
    return lines;
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

// A task's items come by address key (not by item number) with every value
// of the item and of its resource, the resource's address and form data
// whole (a long address continues in chunks); an item without a resource
// and one whose resource is gone are left out, as are other tasks' items.
TEST(ItemCommands, TaskItemsWithTheirResourcesInAddressOrder) {
    test::OpenProject project;
    Eng_CloseProject();
    const std::string longUrl = "http://h/" + std::string(246, 'x');
    test::executeSql(project.path(), R"(
        INSERT INTO Strings (StrId, Type, RefCount, String) VALUES
          (11, 1, 2, 'http://h/a'), (12, 1, 1, 'http://h/form'), (13, 2, 1, 'q=1&r=2'),
          (14, 1, 1, ')" + longUrl + R"('), (15, 1, 1, 'http://h/none'), (16, 1, 1, 'http://h/gone');
        INSERT INTO StrChunks (StrId, "Offset", Value) VALUES (14, 0, 'yyyy'), (14, 1, '/end.html');
        INSERT INTO Tasks (TaskId, UrlId, MainItemId, State) VALUES (1, 14, 1, 2), (2, 11, 6, 2);
        INSERT INTO UrlRes (UrlResId, UrlId, PostId, State, StatusCode, LastError, Error, ContentType, Title,
                            ContentLength, Size, LastModified, DoneTime, Type, Url, RefCount) VALUES
          (21, 11, 0, 2, 200, 0, 0, 'text/html', 'Page A', 120, 100, 44000.5, 45000.25, 1, 'http://h/a', 2),
          (22, 12, 13, 2, 404, 0, 1, 'text/plain', '', 0, 7, 0, 45001, 6, 'http://h/form', 1),
          (23, 14, 0, 2, 499, 12, 0, 'image/gif', 'Long', 9, 9, 0, 45002, 2, 'http://h/xx', 1);
        INSERT INTO Items (ItemId, TaskId, UrlId, PostId, UrlResId, Level, Created, Tag) VALUES
          (1, 1, 14, 0, 23, 0, 44999.5, 3), (2, 1, 12, 13, 22, 1, 44999.75, 0), (3, 1, 11, 0, 21, 2, 0, 9),
          (4, 1, 15, 0, 0, 1, 0, 0), (5, 1, 16, 0, 99, 1, 0, 0), (6, 2, 11, 0, 21, 0, 0, 0);
    )");
    ASSERT_EQ(Eng_OpenProject(project.path().c_str(), nullptr, nullptr, nullptr), 0);
    using eng::client::ItemResource;
    const auto items = describedPairs(eng::client::receiveRecords<ItemResource>(Eng_FreeMem, Eng_GetTaskItems, 1));
    const std::string noError = eng::errorText(0);
    const std::string longLine =
        "1 1 0 44999.5 3 | 23 2 499 9 9 0 0 45002 2 [Ok.] [image/gif] [Long] " + longUrl + "yyyy/end.html []";
    const std::vector<std::string> expected = {
        "3 1 2 0 9 | 21 2 200 120 100 0 44000.5 45000.25 1 [" + noError + "] [text/html] [Page A] http://h/a []",
        "2 1 1 44999.75 0 | 22 2 404 0 7 1 0 45001 6 [" + noError + "] [text/plain] [] http://h/form [q=1&r=2]",
        longLine};
    EXPECT_EQ(items, expected);

    const auto main = describedPairs(eng::client::receiveRecords<ItemResource>(Eng_FreeMem, Eng_FindTaskItem, 1, 0));
    EXPECT_EQ(main, std::vector<std::string>{longLine});
    for (uint32_t leftOut : {4u, 5u, 77u})
        EXPECT_TRUE(eng::client::receiveRecords<ItemResource>(Eng_FreeMem, Eng_FindTaskItem, 1, leftOut).empty())
            << leftOut;
    EXPECT_EQ(describedPairs(eng::client::receiveRecords<ItemResource>(Eng_FreeMem, Eng_GetTaskItems, 2)).size(), 1u);
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
