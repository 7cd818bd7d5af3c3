#pragma once

#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdint>
#include <optional>
#include <string>

#include "net/EchoPacket.h"
#include "sys/FileDescriptor.h"

namespace eng {

// An IPv4 or IPv6 address with its length, as the socket calls take it.
struct SocketAddress {
    sockaddr_storage storage{};
    socklen_t length = 0;

    EchoFamily family() const { return storage.ss_family == AF_INET6 ? EchoFamily::V6 : EchoFamily::V4; }
    // The address written as text (dotted IPv4, or IPv6); nothing when it is neither.
    static std::optional<SocketAddress> parse(const std::string &text);
};

// A non-blocking ICMP echo socket of one family: a datagram ICMP socket
// when the system grants one, else a raw socket. On a datagram socket the
// kernel chooses the echo identifier (the socket's port) and strips the IP
// header; on a raw socket the identifier is the low 16 bits of the process
// id and an IPv4 datagram arrives with its IP header. A raw socket sees
// every echo reply the machine gets, so replies are matched by identifier,
// probe identity and sequence.
class EchoSocket {
public:
    // Throws when neither kind of socket can be opened.
    explicit EchoSocket(EchoFamily family);

    EchoFamily family() const { return family_; }
    // The identifier that replies to this socket's requests carry.
    uint16_t identifier() const;
    // Sends the request; false when the system refused it.
    bool send(const EchoRequest &request, const SocketAddress &to);
    // The next echo reply waiting, nothing when none is (malformed
    // datagrams and other ICMP messages are skipped).
    std::optional<EchoFields> receive();

private:
    EchoFamily family_;
    bool raw_ = false;
    FileDescriptor socket_;
};

}  // namespace eng
