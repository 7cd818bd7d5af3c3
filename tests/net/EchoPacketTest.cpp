#include "net/EchoPacket.h"

#include <gtest/gtest.h>

#include <vector>

using eng::EchoFamily;
using eng::EchoFields;

TEST(EchoPacket, ChecksumIsTheOnesComplementOfTheWordSum) {
    // The example of RFC 1071: the words sum to 0xDDF2.
    const uint8_t words[] = {0x00, 0x01, 0xF2, 0x03, 0xF4, 0xF5, 0xF6, 0xF7};
    EXPECT_EQ(eng::internetChecksum(words), 0xFFFF - 0xDDF2);
    // An odd last byte counts as the high half of a word.
    const uint8_t odd[] = {0x12, 0x34, 0x56};
    EXPECT_EQ(eng::internetChecksum(odd), static_cast<uint16_t>(~(0x1234 + 0x5600)));
}

TEST(EchoPacket, RequestLayout) {
    const auto packet = eng::buildEchoRequest(EchoFamily::V4, EchoFields{0x1234, 0x0102, 0xA0B0C0D0, 7});
    const std::vector<uint8_t> expected{8,    0,    packet[2], packet[3], 0x12, 0x34, 0x01, 0x02, 0xA0, 0xB0,
                                        0xC0, 0xD0, 0,         0,         0,    7,    0xA8, 0xA8, 0xA8, 0xA8};
    EXPECT_EQ(std::vector<uint8_t>(packet.begin(), packet.end()), expected);
    // A packet with its checksum in place sums to zero.
    EXPECT_EQ(eng::internetChecksum(packet), 0);
    // Over ICMPv6 the kernel computes the checksum.
    const auto v6 = eng::buildEchoRequest(EchoFamily::V6, EchoFields{1, 2, 3, 4});
    EXPECT_EQ(v6[0], 128);
    EXPECT_EQ(v6[2] | v6[3], 0);
}

namespace {

// A reply as a raw IPv4 socket receives it: a header of the given length
// (in 32-bit words), then the echo message.
std::vector<uint8_t> rawReply(uint8_t headerWords, const EchoFields &fields, size_t messageLength = 20) {
    auto message = eng::buildEchoRequest(EchoFamily::V4, fields);
    message[0] = 0;
    std::vector<uint8_t> datagram(size_t{headerWords} * 4, 0);
    datagram[0] = static_cast<uint8_t>(0x40 | headerWords);
    datagram.insert(datagram.end(), message.begin(), message.begin() + static_cast<ptrdiff_t>(messageLength));
    return datagram;
}

}  // namespace

TEST(EchoPacket, ReplyIsReadPastAnIpHeaderOfAnyLength) {
    const EchoFields fields{0x4321, 9, 1000, 77};
    for (uint8_t words : {5, 6, 15}) {
        auto reply = eng::readEchoReply(EchoFamily::V4, true, rawReply(words, fields));
        ASSERT_TRUE(reply) << int(words);
        EXPECT_EQ(reply->identifier, 0x4321);
        EXPECT_EQ(reply->sequence, 9);
        EXPECT_EQ(reply->probe, 77u);
    }
    auto v6 = eng::buildEchoRequest(EchoFamily::V6, fields);
    v6[0] = 129;
    EXPECT_EQ(eng::readEchoReply(EchoFamily::V6, false, v6)->probe, 77u);
}

TEST(EchoPacket, ShortOrForeignDatagramsAreNoReply) {
    const EchoFields fields{1, 2, 3, 4};
    // Eight bytes past the header hold type, code, identifier and sequence
    // but not the probe identity: reading one would run past the datagram.
    for (size_t length : {0, 8, 12, 19})
        EXPECT_FALSE(eng::readEchoReply(EchoFamily::V4, true, rawReply(5, fields, length))) << length;
    // A header length that points past the end of the datagram.
    std::vector<uint8_t> liar(24, 0);
    liar[0] = 0x4F;
    EXPECT_FALSE(eng::readEchoReply(EchoFamily::V4, true, liar));
    EXPECT_FALSE(eng::readEchoReply(EchoFamily::V4, true, {}));
    // Our own request, looped back to a raw socket, is not a reply.
    auto request = rawReply(5, fields);
    request[20] = 8;
    EXPECT_FALSE(eng::readEchoReply(EchoFamily::V4, true, request));
}
