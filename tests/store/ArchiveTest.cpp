#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "store/ArchiveReader.h"
#include "store/ArchiveWriter.h"
#include "support/TempDir.h"

using eng::ArchiveDate;
using eng::ArchiveDateStatus;
using eng::ArchiveReader;
using eng::ArchiveWriter;

namespace {

std::vector<uint8_t> fileBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string &path, const std::vector<uint8_t> &bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> stringPrefix(size_t length, const std::string &path) {
    ArchiveWriter w(path);
    w.writeString(std::string(length, 'x'));
    w.finish();
    auto bytes = fileBytes(path);
    EXPECT_EQ(bytes.size() >= length, true);
    return {bytes.begin(), bytes.end() - static_cast<std::ptrdiff_t>(length)};
}

}  // namespace

TEST(Archive, StringLengthPrefixesAtTheirBoundaries) {
    test::TempDir dir;
    const std::string path = dir.file("a.bin");
    EXPECT_EQ(stringPrefix(0, path), (std::vector<uint8_t>{0}));
    EXPECT_EQ(stringPrefix(254, path), (std::vector<uint8_t>{254}));
    EXPECT_EQ(stringPrefix(255, path), (std::vector<uint8_t>{0xFF, 0xFF, 0x00}));
    EXPECT_EQ(stringPrefix(65533, path), (std::vector<uint8_t>{0xFF, 0xFD, 0xFF}));
    EXPECT_EQ(stringPrefix(65534, path), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(stringPrefix(70000, path), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}));
}

TEST(Archive, RecordsRoundTripAndEndCleanly) {
    test::TempDir dir;
    const std::string path = dir.file("tasks.bin");
    const std::string longText(70000, 'q');
    {
        ArchiveWriter w(path);
        for (int record = 0; record < 3; ++record) {
            w.writeByte(static_cast<uint8_t>(record));
            w.writeInt16(-7);
            w.writeInt32(-100000);
            w.writeUInt32(4000000000u);
            w.writeString(record == 1 ? longText : "http://example.com/ä");
            w.writeDate(ArchiveDate{ArchiveDateStatus::Valid, 45000.25});
            w.writeCount(2);
            w.writeString("first");
            w.writeString("");
        }
        w.finish();
    }
    ArchiveReader r(path);
    int records = 0;
    while (r.nextRecord()) {
        EXPECT_EQ(r.readByte(), records);
        EXPECT_EQ(r.readInt16(), -7);
        EXPECT_EQ(r.readInt32(), -100000);
        EXPECT_EQ(r.readUInt32(), 4000000000u);
        EXPECT_EQ(r.readString(), records == 1 ? longText : "http://example.com/ä");
        ArchiveDate d = r.readDate();
        EXPECT_EQ(d.status, ArchiveDateStatus::Valid);
        EXPECT_EQ(d.value, 45000.25);
        ASSERT_EQ(r.readCount(), 2);
        EXPECT_EQ(r.readString(), "first");
        EXPECT_EQ(r.readString(), "");
        ++records;
    }
    EXPECT_EQ(records, 3);
}

TEST(Archive, FileCutInsideARecordIsAnError) {
    test::TempDir dir;
    const std::string path = dir.file("cut.bin");
    {
        ArchiveWriter w(path);
        w.writeInt32(1);
        w.writeString("a long enough text");
        w.finish();
    }
    auto bytes = fileBytes(path);
    for (size_t cut = 1; cut < bytes.size(); ++cut) {
        writeBytes(path, {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)});
        ArchiveReader r(path);
        ASSERT_TRUE(r.nextRecord());
        EXPECT_THROW(
            {
                r.readInt32();
                r.readString();
            },
            std::exception)
            << "cut after " << cut << " bytes";
    }
}

TEST(Archive, ReadsSixteenBitStringForm) {
    test::TempDir dir;
    const std::string path = dir.file("wide.bin");
    // 0xFF 0xFE 0xFF announces 16-bit characters; "Aé€😀" counts 5 units.
    writeBytes(path, {0xFF, 0xFE, 0xFF, 5, 'A', 0, 0xE9, 0, 0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE});
    ArchiveReader r(path);
    EXPECT_EQ(r.readString(), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_FALSE(r.nextRecord());
}

TEST(Archive, MalformedValuesAreRefused) {
    test::TempDir dir;
    const std::string path = dir.file("bad.bin");
    writeBytes(path, {0xFF, 0xFF, 0xFF, 0xFF});  // negative count
    EXPECT_THROW(ArchiveReader(path).readCount(), std::exception);
    writeBytes(path, {7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});  // date status 7
    EXPECT_THROW(ArchiveReader(path).readDate(), std::exception);
    writeBytes(path, {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x40});  // 1 GiB announced, nothing there
    EXPECT_THROW(ArchiveReader(path).readString(), std::exception);
    EXPECT_THROW(ArchiveReader(dir.file("missing.bin")), std::exception);
}
