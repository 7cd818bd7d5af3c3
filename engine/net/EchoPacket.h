#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace eng {

// ICMP echo requests and the replies that answer them, for IPv4 and IPv6.
//
// A request is 20 bytes: type, code 0, the Internet checksum, the
// identifier, the sequence number, the tick count in milliseconds when it
// was sent, the identity of the probe that sent it and four filler bytes
// 0xA8; all numbers in network byte order. Over ICMPv6 the kernel fills in
// the checksum, so the field stays 0 there.
inline constexpr size_t kEchoRequestSize = 20;
using EchoRequest = std::array<uint8_t, kEchoRequestSize>;

enum class EchoFamily : uint8_t { V4, V6 };

struct EchoFields {
    uint16_t identifier = 0;
    uint16_t sequence = 0;
    uint32_t tick = 0;
    uint32_t probe = 0;
};

// The Internet checksum (RFC 1071): the ones' complement of the ones'
// complement sum of the 16-bit words, an odd last byte added as the high
// half of a word.
uint16_t internetChecksum(std::span<const uint8_t> bytes);

EchoRequest buildEchoRequest(EchoFamily family, const EchoFields &fields);

// Reads an echo reply of the family. withIpHeader: the datagram starts with
// an IPv4 header (a raw IPv4 socket), whose length is taken from its first
// byte. Anything else (another ICMP type, a datagram too short to hold the
// whole 20-byte echo message, a header length past the end) is nothing.
std::optional<EchoFields> readEchoReply(EchoFamily family, bool withIpHeader, std::span<const uint8_t> datagram);

}  // namespace eng
