#include "core/MemoryStream.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine.h"

using eng::MemoryStream;

TEST(MemoryStream, GrowsInMultiplesOf128BytesAndKeepsWhatWasWritten) {
    MemoryStream s;
    for (uint32_t i = 0; i < 1000; ++i) {
        s.writeUInt32(i);
        EXPECT_EQ(s.capacity() % MemoryStream::kGrowthStep, 0u);
        EXPECT_GE(s.capacity(), s.length());
    }
    EXPECT_EQ(s.length(), 4000u);
    s.seekToStart();
    for (uint32_t i = 0; i < 1000; ++i) ASSERT_EQ(s.readUInt32(), i);
    EXPECT_THROW(s.readByte(), std::exception);
}

TEST(MemoryStream, FieldKindsAreLittleEndianWithoutGaps) {
    MemoryStream s;
    s.writeByte(0xAB);
    s.writeInt16(-2);
    s.writeInt32(-3);
    s.writeUInt32(0x01020304);
    s.writeBool32(true);
    s.writeDate(1.5);
    s.writeCountedText("abc");
    s.writeCallerAddr(&s);
    ASSERT_EQ(s.length(), 1u + 2 + 4 + 4 + 4 + 8 + 4 + 3 + sizeof(void *));
    const uint8_t *b = s.data();
    EXPECT_EQ(b[0], 0xAB);
    EXPECT_EQ(b[1], 0xFE);
    EXPECT_EQ(b[2], 0xFF);
    EXPECT_EQ(b[7], 0x04);  // UInt32 low byte first
    EXPECT_EQ(b[11], 1);    // Bool32 is 1, never -1
    s.seekToStart();
    EXPECT_EQ(s.readByte(), 0xAB);
    EXPECT_EQ(s.readInt16(), -2);
    EXPECT_EQ(s.readInt32(), -3);
    EXPECT_EQ(s.readUInt32(), 0x01020304u);
    EXPECT_TRUE(s.readBool32());
    EXPECT_EQ(s.readDate(), 1.5);
    EXPECT_EQ(s.readCountedText(), "abc");
    EXPECT_EQ(s.readCallerAddr(), &s);
}

TEST(MemoryStream, DetachHandsOverBufferAndStringsForEngFreeMem) {
    MemoryStream s;
    s.writeStrRef("");
    s.writeStrRef("hello");
    eng::DetachedBuffer d = s.detach();
    ASSERT_EQ(d.length, 2 * sizeof(char *));
    EXPECT_EQ(s.length(), 0u);
    char *strings[2];
    std::memcpy(strings, d.data, sizeof strings);
    // An empty string is still a real 1-byte block.
    ASSERT_NE(strings[0], nullptr);
    EXPECT_STREQ(strings[0], "");
    EXPECT_STREQ(strings[1], "hello");
    Eng_FreeMem(strings[0]);
    Eng_FreeMem(strings[1]);
    Eng_FreeMem(d.data);
}

TEST(MemoryStream, EmptyStreamDetachesAsNullAndTruncateReleasesStrings) {
    MemoryStream empty;
    eng::DetachedBuffer d = empty.detach();
    EXPECT_EQ(d.data, nullptr);
    EXPECT_EQ(d.length, 0u);

    // Strings written into an answer that is abandoned are released (a leak
    // checker would flag them otherwise).
    MemoryStream s;
    s.writeStrRef("abandoned");
    s.truncate();
    EXPECT_EQ(s.length(), 0u);
    EXPECT_EQ(s.detach().data, nullptr);
}

TEST(MemoryStream, AttachReadsCallersBufferAndNeverGrowsIt) {
    const uint8_t bytes[] = {1, 0, 0, 0, 2, 0, 0, 0};
    MemoryStream s = MemoryStream::attach(bytes, sizeof bytes);
    EXPECT_EQ(s.readUInt32(), 1u);
    EXPECT_EQ(s.readUInt32(), 2u);
    EXPECT_THROW(s.readUInt32(), std::exception);
    EXPECT_THROW(s.writeUInt32(3), std::exception);
    EXPECT_EQ(s.detach().data, nullptr);  // not ours to hand over
}

TEST(MemoryStream, CountedTextLongerThanTheStreamIsAnError) {
    MemoryStream s;
    s.writeUInt32(100);
    s.write("abc", 3);
    s.seekToStart();
    EXPECT_THROW(s.readCountedText(), std::exception);
}

TEST(MemoryStream, ListLengthIsRecordCountTimesRecordSize) {
    MemoryStream s;
    EngStatisticsRecord r{};
    for (int i = 0; i < 7; ++i) s.writeRecord(r);
    EXPECT_EQ(s.length(), 7 * sizeof(EngStatisticsRecord));
    EXPECT_EQ(s.length() / 40, 7u);
}
