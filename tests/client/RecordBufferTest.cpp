// The client library's ownership of engine buffers, on buffers the test
// builds itself and releases through a recording FreeMem: what is read,
// what is released, and that nothing outside a whole record is touched.
#include "client/RecordBuffer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

#include "client/ProjectProps.h"
#include "support/OpenProject.h"

namespace {

using eng::client::EngineBuffer;
using eng::client::RecordBuffer;

// Every address released, in order; FreeMem has no context, so it is global.
std::vector<void *> released;

void recordingFree(void *address) {
    released.push_back(address);
    std::free(address);
}

// A pointer that must never be released nor read: it lies in the bytes
// after the last whole record.
char *const kNeverReleased = reinterpret_cast<char *>(0x5A5A5A5A);

char *copyOf(const char *text) {
    char *copy = static_cast<char *>(std::malloc(std::strlen(text) + 1));
    std::strcpy(copy, text);
    return copy;
}

// A malloc'd buffer holding the records, then extra bytes copied from the
// start of one more record.
template <class Record>
EngineBuffer bufferOf(const std::vector<Record> &records, size_t extra = 0, const Record &partial = {}) {
    const size_t length = records.size() * sizeof(Record) + extra;
    auto *bytes = static_cast<char *>(std::malloc(length));
    if (!records.empty()) std::memcpy(bytes, records.data(), records.size() * sizeof(Record));
    std::memcpy(bytes + records.size() * sizeof(Record), &partial, extra);
    return EngineBuffer(bytes, static_cast<uint32_t>(length), recordingFree);
}

EngFolderRecord folder(uint32_t id, char *name) {
    EngFolderRecord r{};
    r.folder = id;
    r.name = name;
    return r;
}

// A record's strings live in its buffer: none is taken out of a temporary one.
template <class Buffer>
concept GivesRecords = requires(Buffer &&buffer) {
    std::forward<Buffer>(buffer).first();
    std::forward<Buffer>(buffer).at(0);
};
static_assert(GivesRecords<const RecordBuffer<EngFolderRecord> &>);
static_assert(!GivesRecords<RecordBuffer<EngFolderRecord>>);

class ClientBuffers : public ::testing::Test {
protected:
    void SetUp() override { released.clear(); }
};

TEST_F(ClientBuffers, WholeRecordsAreReadAndReleasedAndAShortTailIsNeverTouched) {
    char *first = copyOf("first"), *second = copyOf("second");
    void *address = nullptr;
    {
        // The tail holds all but the last byte of a record whose name must not be released.
        RecordBuffer<EngFolderRecord> folders(bufferOf<EngFolderRecord>(
            {folder(1, first), folder(2, second)}, sizeof(EngFolderRecord) - 1, folder(3, kNeverReleased)));
        address = const_cast<std::byte *>(folders.bytes().data());
        ASSERT_EQ(folders.size(), 2u);
        EXPECT_FALSE(folders.whole());
        std::vector<std::string> names;
        for (const EngFolderRecord &f : folders) names.push_back(eng::client::text(f.name));
        EXPECT_EQ(names, (std::vector<std::string>{"first", "second"}));
        EXPECT_EQ(folders.at(1).folder, 2u);
        EXPECT_THROW(folders.at(2), std::out_of_range);
        EXPECT_EQ(folders.first()->folder, 1u);
        EXPECT_TRUE(released.empty());
    }
    EXPECT_EQ(released, (std::vector<void *>{first, second, address}));
}

TEST_F(ClientBuffers, BuffersTooShortForOneRecordOrWithoutAnAddressHoldNone) {
    {
        RecordBuffer<EngTaskRecord> tasks(bufferOf<EngTaskRecord>({}, sizeof(EngTaskRecord) - 1));
        EXPECT_TRUE(tasks.empty());
        EXPECT_FALSE(tasks.first());
        EXPECT_EQ(tasks.begin(), tasks.end());
    }
    EXPECT_EQ(released.size(), 1u);  // the buffer alone: no string was read from the partial record

    RecordBuffer<EngTaskRecord> none(EngineBuffer(nullptr, 500, recordingFree));
    EXPECT_TRUE(none.bytes().empty());
    EXPECT_FALSE(none.first());

    const std::vector<std::byte> bytes(4);
    EXPECT_FALSE(eng::client::recordAt<uint32_t>(bytes, 1));
    EXPECT_FALSE(eng::client::recordAt<uint32_t>(bytes, 5));
    EXPECT_FALSE(eng::client::recordAt<uint32_t>(bytes, SIZE_MAX));
    EXPECT_TRUE(eng::client::recordAt<uint32_t>(bytes, 0));
}

TEST_F(ClientBuffers, OwnershipMovesAndAnOwnerThatTakesAnotherReleasesItsOwnFirst) {
    char *a = copyOf("a"), *b = copyOf("b");
    RecordBuffer<EngFolderRecord> first(bufferOf<EngFolderRecord>({folder(1, a)}));
    const void *firstAddress = first.bytes().data();
    RecordBuffer<EngFolderRecord> moved(std::move(first));
    EXPECT_TRUE(first.bytes().empty());  // NOLINT(bugprone-use-after-move): a moved-from buffer owns nothing
    EXPECT_EQ(moved.bytes().data(), firstAddress);
    EXPECT_TRUE(released.empty());

    RecordBuffer<EngFolderRecord> second(bufferOf<EngFolderRecord>({folder(2, b)}));
    const void *secondAddress = second.bytes().data();
    moved = std::move(second);
    EXPECT_EQ(released, (std::vector<void *>{a, const_cast<void *>(firstAddress)}));
    EXPECT_EQ(moved.at(0).folder, 2u);
    moved = RecordBuffer<EngFolderRecord>();
    EXPECT_EQ(released.size(), 4u);
    EXPECT_EQ(released[2], b);
    EXPECT_EQ(released[3], secondAddress);
}

TEST_F(ClientBuffers, NotificationPayloadsAndTexts) {
    eng::client::ResourceNotification notification{};
    notification.action = ENG_URLRES_CHANGED;
    char *url = copyOf("http://h/");
    EngUrlResRecord resource{};
    resource.url = url;
    notification.resource = resource;
    auto *payload = static_cast<char *>(std::malloc(sizeof notification));
    std::memcpy(payload, &notification, sizeof notification);
    eng::client::releaseNotificationPayload(ENG_NOTIFY_URLRES, sizeof notification, reinterpret_cast<intptr_t>(payload),
                                            recordingFree);
    EXPECT_EQ(released, (std::vector<void *>{url, payload}));

    // One byte short: the record's strings are not read, the buffer goes.
    released.clear();
    auto *shortPayload = static_cast<char *>(std::malloc(sizeof notification - 1));
    eng::client::releaseNotificationPayload(ENG_NOTIFY_URLRES, sizeof notification - 1,
                                            reinterpret_cast<intptr_t>(shortPayload), recordingFree);
    EXPECT_EQ(released, (std::vector<void *>{shortPayload}));

    released.clear();
    eng::client::releaseNotificationPayload(ENG_NOTIFY_ONLINE, 1, 1, recordingFree);
    EXPECT_TRUE(released.empty());

    char *text = copyOf("kept");
    EXPECT_EQ(eng::client::takeText(text, recordingFree), "kept");
    EXPECT_EQ(eng::client::takeText(nullptr, recordingFree), "");
    EXPECT_EQ(released, (std::vector<void *>{text}));
}

// The properties as one value: what is written is read back, the connection
// values within the engine's limits; with no project open there are none.
TEST(ClientProjectProps, WrittenAndReadBackThroughTheEngine) {
    EXPECT_FALSE(eng::client::readProjectProps(Eng_GetProjectProp, Eng_FreeMem));
    test::OpenProject project;
    ASSERT_EQ(project.openResult(), 0);
    eng::client::ProjectProps props = *eng::client::readProjectProps(Eng_GetProjectProp, Eng_FreeMem);
    props.note = "a note";
    props.filter = "-*.zip";
    props.userText = "the user's";
    props.optionFlags = ENG_OPTION_BROWSER_CACHE;
    props.timeout = 45;
    props.retries = 3;
    props.proxyAccess = 3;
    props.httpProxy = "proxy:3128";
    props.ftpProxy = "ftp-proxy:21";
    ASSERT_TRUE(eng::client::writeProjectProps(Eng_SetProjectProp, props));
    EXPECT_EQ(eng::client::readProjectProps(Eng_GetProjectProp, Eng_FreeMem), props);
    props.timeout = 1000;
    ASSERT_TRUE(eng::client::writeProjectProps(Eng_SetProjectProp, props));
    EXPECT_EQ(eng::client::readProjectProps(Eng_GetProjectProp, Eng_FreeMem)->timeout, 600);
}

}  // namespace
