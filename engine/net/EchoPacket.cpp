#include "net/EchoPacket.h"

namespace eng {

namespace {

constexpr uint8_t kEchoRequestV4 = 8;
constexpr uint8_t kEchoReplyV4 = 0;
constexpr uint8_t kEchoRequestV6 = 128;
constexpr uint8_t kEchoReplyV6 = 129;
constexpr uint8_t kFiller = 0xA8;

void put16(uint8_t *at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value >> 8);
    at[1] = static_cast<uint8_t>(value);
}

void put32(uint8_t *at, uint32_t value) {
    put16(at, static_cast<uint16_t>(value >> 16));
    put16(at + 2, static_cast<uint16_t>(value));
}

uint16_t get16(const uint8_t *at) { return static_cast<uint16_t>(at[0] << 8 | at[1]); }

uint32_t get32(const uint8_t *at) { return uint32_t{get16(at)} << 16 | get16(at + 2); }

}  // namespace

uint16_t internetChecksum(std::span<const uint8_t> bytes) {
    uint32_t sum = 0;
    size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) sum += get16(&bytes[i]);
    if (i < bytes.size()) sum += uint32_t{bytes[i]} << 8;
    while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint16_t>(~sum);
}

EchoRequest buildEchoRequest(EchoFamily family, const EchoFields &fields) {
    EchoRequest packet{};
    packet[0] = family == EchoFamily::V4 ? kEchoRequestV4 : kEchoRequestV6;
    put16(&packet[4], fields.identifier);
    put16(&packet[6], fields.sequence);
    put32(&packet[8], fields.tick);
    put32(&packet[12], fields.probe);
    for (size_t i = 16; i < packet.size(); ++i) packet[i] = kFiller;
    if (family == EchoFamily::V4) put16(&packet[2], internetChecksum(packet));
    return packet;
}

std::optional<EchoFields> readEchoReply(EchoFamily family, bool withIpHeader, std::span<const uint8_t> datagram) {
    size_t start = 0;
    if (withIpHeader) {
        if (datagram.empty()) return std::nullopt;
        start = size_t{datagram[0] & 0x0Fu} * 4;
    }
    if (datagram.size() < start || datagram.size() - start < kEchoRequestSize) return std::nullopt;
    const uint8_t *message = datagram.data() + start;
    if (message[0] != (family == EchoFamily::V4 ? kEchoReplyV4 : kEchoReplyV6) || message[1] != 0) return std::nullopt;
    return EchoFields{get16(message + 4), get16(message + 6), get32(message + 8), get32(message + 12)};
}

}  // namespace eng
