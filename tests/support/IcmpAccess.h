#pragma once

#include <netinet/in.h>
#include <sys/socket.h>

#include "sys/FileDescriptor.h"

namespace test {

// Whether this process may open an ICMP echo socket (a datagram one, or a
// raw one as root): tests that ping loopback are skipped without one.
inline bool canPing() {
    for (int type : {SOCK_DGRAM, SOCK_RAW})
        if (eng::FileDescriptor(::socket(AF_INET, type, IPPROTO_ICMP))) return true;
    return false;
}

}  // namespace test
