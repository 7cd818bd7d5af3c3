#include "plugins/ParserHost.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "base/EngineException.h"
#include "plugins/ParserHostProtocol.h"

namespace eng {

using namespace parserhost;

ParserHost::ParserHost(const std::filesystem::path &program, const std::vector<std::filesystem::path> &plugins,
                       std::chrono::milliseconds callLimit)
    : callLimit_(callLimit) {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        throw CEngineException(std::string("Cannot start the parser plug-ins: ") + std::strerror(errno));
    socket_ = FileDescriptor(ends[0]);
    const FileDescriptor helperEnd(ends[1]);
    fcntl(socket_.get(), F_SETFL, O_NONBLOCK);
    std::vector<std::string> files;
    for (const std::filesystem::path &plugin : plugins) files.push_back(plugin.string());
    process_.emplace(program, files, helperEnd.get());

    Header ready;
    if (!receive(ready.data(), ready.size(), deadline()) || ready[0] != kReady)
        throw CEngineException("The parser plug-ins could not be loaded.");
    count_ = numberOf(ready.data() + 1);
}

ParserHost::~ParserHost() {
    const bool healthy = !failed_ && waiting();
    socket_.close();
    if (healthy) process_->waitForExit(callLimit_);
}

bool ParserHost::waiting() const {
    pollfd watch{socket_.get(), POLLIN, 0};
    return poll(&watch, 1, 0) == 0;
}

ParserHost::Reply ParserHost::ask(uint32_t first, std::string_view baseUrl, std::string_view page) {
    Reply reply;
    const Header request = header(kPage, first);
    Deadline until = deadline();
    if (!send({request.data(), request.size()}, until) || !sendText(baseUrl.substr(0, kBaseUrlLimit), until) ||
        !sendText(page.substr(0, kPageLimit), until)) {
        failed_ = reply.failed = true;
        return reply;
    }
    for (Header head; receive(head.data(), head.size(), until);) {
        const uint32_t number = numberOf(head.data() + 1);
        if (head[0] == kCalling && number >= first && number < count_) {
            reply.lastCalled = number;
            until = deadline();
        } else if (head[0] == kNoAnswer) {
            return reply;
        } else if (head[0] == kAnswer && number <= kAnswerLimit) {
            std::string answer(number, '\0');
            if (!receive(answer.data(), answer.size(), until)) break;
            reply.answer = std::move(answer);
            return reply;
        } else {
            break;
        }
    }
    failed_ = reply.failed = true;
    return reply;
}

bool ParserHost::sendText(std::string_view text, Deadline until) {
    const auto length = static_cast<uint32_t>(text.size());
    return send({reinterpret_cast<const char *>(&length), sizeof length}, until) && send(text, until);
}

bool ParserHost::send(std::string_view bytes, Deadline until) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(socket_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<size_t>(sent));
        } else if (sent == 0 || (errno != EINTR && (errno != EAGAIN || !await(POLLOUT, until)))) {
            return false;
        }
    }
    return true;
}

bool ParserHost::receive(char *bytes, size_t count, Deadline until) {
    while (count > 0) {
        const ssize_t got = recv(socket_.get(), bytes, count, MSG_DONTWAIT);
        if (got > 0) {
            bytes += got;
            count -= static_cast<size_t>(got);
        } else if (got == 0 || (errno != EINTR && (errno != EAGAIN || !await(POLLIN, until)))) {
            return false;
        }
    }
    return true;
}

bool ParserHost::await(short event, Deadline until) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd watch{socket_.get(), event, 0};
    const int ready = poll(&watch, 1, static_cast<int>(left.count()));
    return ready == 1 || (ready < 0 && errno == EINTR);
}

}  // namespace eng
