#include "base/WaitToken.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

#include "base/EngineException.h"

namespace eng {

WaitToken::WaitToken() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (fd_ < 0) throw CEngineException("No wait token could be made");
}

WaitToken::~WaitToken() { ::close(fd_); }

int WaitToken::duplicate() const { return fcntl(fd_, F_DUPFD_CLOEXEC, 0); }

void WaitToken::signal() {
    const uint64_t one = 1;
    // Nobody reads the counter, so one write keeps every duplicate readable.
    while (::write(fd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

bool WaitToken::waitFor(int descriptor, int milliseconds) {
    pollfd watched{descriptor, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&watched, 1, milliseconds);
    } while (ready < 0 && errno == EINTR);
    return ready > 0 && (watched.revents & POLLIN) != 0;
}

}  // namespace eng
