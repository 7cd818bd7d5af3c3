#include "net/EchoSocket.h"

#include <arpa/inet.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <string>

#include "base/EngineException.h"

namespace eng {

namespace {

// More than any reply of ours; larger datagrams are cut and then ignored.
constexpr size_t kReceiveLimit = 1024;
// Datagrams read in one call at most, so that a flood of foreign ICMP
// messages cannot hold the caller.
constexpr int kReadsPerCall = 64;

int openIcmp(EchoFamily family, int type) {
    return family == EchoFamily::V4 ? ::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP)
                                    : ::socket(AF_INET6, type | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMPV6);
}

}  // namespace

std::optional<SocketAddress> SocketAddress::parse(const std::string &text) {
    SocketAddress address;
    auto *v4 = reinterpret_cast<sockaddr_in *>(&address.storage);
    if (::inet_pton(AF_INET, text.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        address.length = sizeof(sockaddr_in);
        return address;
    }
    std::string bare = text;
    if (bare.size() > 2 && bare.front() == '[' && bare.back() == ']') bare = bare.substr(1, bare.size() - 2);
    auto *v6 = reinterpret_cast<sockaddr_in6 *>(&address.storage);
    if (::inet_pton(AF_INET6, bare.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        address.length = sizeof(sockaddr_in6);
        return address;
    }
    return std::nullopt;
}

EchoSocket::EchoSocket(EchoFamily family) : family_(family), socket_(openIcmp(family, SOCK_DGRAM)) {
    if (!socket_) {
        socket_ = FileDescriptor(openIcmp(family, SOCK_RAW));
        raw_ = true;
    }
    if (!socket_) throw CEngineException(std::string("cannot open an ICMP socket: ") + strerror(errno));
}

uint16_t EchoSocket::identifier() const {
    if (raw_) return static_cast<uint16_t>(::getpid());
    SocketAddress bound;
    bound.length = sizeof bound.storage;
    if (::getsockname(socket_.get(), reinterpret_cast<sockaddr *>(&bound.storage), &bound.length) != 0) return 0;
    const auto &port = family_ == EchoFamily::V4 ? reinterpret_cast<const sockaddr_in &>(bound.storage).sin_port
                                                 : reinterpret_cast<const sockaddr_in6 &>(bound.storage).sin6_port;
    return ntohs(port);
}

bool EchoSocket::send(const EchoRequest &request, const SocketAddress &to) {
    return ::sendto(socket_.get(), request.data(), request.size(), MSG_DONTWAIT,
                    reinterpret_cast<const sockaddr *>(&to.storage), to.length) == static_cast<ssize_t>(request.size());
}

std::optional<EchoFields> EchoSocket::receive() {
    std::array<uint8_t, kReceiveLimit> datagram;
    for (int read = 0; read < kReadsPerCall; ++read) {
        const ssize_t got = ::recv(socket_.get(), datagram.data(), datagram.size(), MSG_DONTWAIT);
        if (got < 0) return std::nullopt;
        const bool withIpHeader = raw_ && family_ == EchoFamily::V4;
        if (auto reply = readEchoReply(family_, withIpHeader, std::span(datagram.data(), static_cast<size_t>(got))))
            return reply;
    }
    return std::nullopt;
}

}  // namespace eng
