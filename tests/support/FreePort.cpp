#include "support/FreePort.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <stdexcept>
#include <thread>

namespace test {

namespace {

sockaddr_in loopback(uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

}  // namespace

uint16_t freePort() {
    UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!socket) throw std::runtime_error("socket() failed");
    sockaddr_in address = loopback(0);
    if (bind(socket.get(), reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        throw std::runtime_error("bind() to 127.0.0.1:0 failed");
    }
    socklen_t length = sizeof address;
    if (getsockname(socket.get(), reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        throw std::runtime_error("getsockname() failed");
    }
    return ntohs(address.sin_port);
}

UniqueFd connectToLocalPort(uint16_t port) {
    UniqueFd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!socket) return socket;
    const sockaddr_in address = loopback(port);
    if (connect(socket.get(), reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) return {};
    return socket;
}

bool waitUntilAccepting(uint16_t port, std::chrono::milliseconds timeout, const std::function<bool()> &keepWaiting) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        if (connectToLocalPort(port)) return true;
        if (!keepWaiting() || std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace test
