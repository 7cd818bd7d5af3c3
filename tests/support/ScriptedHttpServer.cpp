#include "support/ScriptedHttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <stdexcept>

namespace test {

namespace {

constexpr std::string_view kNoScript = "HTTP/1.0 500 No script\r\nContent-Length: 0\r\n\r\n";
constexpr int kForever = -1;

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// The Content-Length of a request's header lines, 0 when absent or unreadable.
size_t contentLength(std::string_view header) {
    while (!header.empty()) {
        const size_t end = header.find("\r\n");
        const std::string_view line = header.substr(0, end);
        header = end == std::string_view::npos ? std::string_view() : header.substr(end + 2);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos || !equalsIgnoringCase(trim(line.substr(0, colon)), "content-length")) {
            continue;
        }
        const std::string_view value = trim(line.substr(colon + 1));
        size_t length = 0;
        const auto [rest, error] = std::from_chars(value.data(), value.data() + value.size(), length);
        return error == std::errc() && rest == value.data() + value.size() ? length : 0;
    }
    return 0;
}

// The target of a request line: "GET /a.html HTTP/1.0" gives "/a.html".
std::string requestTarget(std::string_view request) {
    const size_t start = request.find(' ');
    if (start == std::string_view::npos) return {};
    const size_t end = request.find_first_of(" \r\n", start + 1);
    return std::string(request.substr(start + 1, end == std::string_view::npos ? end : end - start - 1));
}

}  // namespace

std::string httpResponse(int status, std::string_view reason, std::string_view body,
                         std::vector<std::string> extraHeaderLines) {
    std::string response = "HTTP/1.0 " + std::to_string(status) + " " + std::string(reason) + "\r\n";
    for (std::string &line : extraHeaderLines) {
        if (!line.ends_with("\r\n")) line += "\r\n";
        response += line;
    }
    response += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    response += body;
    return response;
}

ScriptedHttpServer::ScriptedHttpServer() {
    listener_.reset(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!listener_) throw std::runtime_error("socket() failed");
    const int on = 1;
    setsockopt(listener_.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(listener_.get(), reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        listen(listener_.get(), 128) != 0) {
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    socklen_t length = sizeof address;
    getsockname(listener_.get(), reinterpret_cast<sockaddr *>(&address), &length);
    port_ = ntohs(address.sin_port);

    int wake[2];
    if (pipe2(wake, O_CLOEXEC) != 0) throw std::runtime_error("pipe2() failed");
    wakeRead_.reset(wake[0]);
    wakeWrite_.reset(wake[1]);
    acceptor_ = std::thread(&ScriptedHttpServer::acceptConnections, this);
}

ScriptedHttpServer::~ScriptedHttpServer() {
    wakeWrite_.reset();
    acceptor_.join();
    for (std::thread &worker : workers_) worker.join();  // the acceptor, which adds them, has ended
}

std::string ScriptedHttpServer::url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

void ScriptedHttpServer::answer(std::string bytes) { script({std::move(bytes), Ending::Close}); }

void ScriptedHttpServer::answerKeepAlive(std::string bytes) { script({std::move(bytes), Ending::KeepAlive}); }

void ScriptedHttpServer::answerThenHang(std::string bytes) { script({std::move(bytes), Ending::Hang}); }

void ScriptedHttpServer::silent() { script({{}, Ending::Silent}); }

void ScriptedHttpServer::trickle(std::string bytes, std::chrono::milliseconds gap) {
    script({std::move(bytes), Ending::Trickle, gap});
}

void ScriptedHttpServer::route(std::string target, std::string bytes) {
    std::lock_guard lock(mutex_);
    routes_.insert_or_assign(std::move(target), Reply(std::move(bytes), Ending::Close));
}

void ScriptedHttpServer::routeEndless(std::string target, std::string head, std::string piece) {
    std::lock_guard lock(mutex_);
    routes_.insert_or_assign(std::move(target), Reply(std::move(head), Ending::Endless, {}, std::move(piece)));
}

std::vector<std::string> ScriptedHttpServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool ScriptedHttpServer::waitForRequests(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

size_t ScriptedHttpServer::connections() const {
    std::lock_guard lock(mutex_);
    return connections_;
}

void ScriptedHttpServer::script(Reply reply) {
    std::lock_guard lock(mutex_);
    script_.push_back(std::move(reply));
}

// Records a request and takes its answer at once, so that answers follow the
// order in which requests are recorded.
ScriptedHttpServer::Reply ScriptedHttpServer::record(std::string request) {
    Reply reply{std::string(kNoScript), Ending::Close};
    {
        std::lock_guard lock(mutex_);
        const auto routed = routes_.find(requestTarget(request));
        requests_.push_back(std::move(request));
        if (routed != routes_.end()) {
            reply = routed->second;
        } else if (!script_.empty()) {
            reply = std::move(script_.front());
            script_.pop_front();
        }
    }
    arrived_.notify_all();
    return reply;
}

void ScriptedHttpServer::acceptConnections() {
    while (waitFor(listener_.get(), POLLIN, kForever)) {
        UniqueFd connection(accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!connection) continue;
        std::lock_guard lock(mutex_);
        ++connections_;
        workers_.emplace_back(&ScriptedHttpServer::serve, this, std::move(connection));
    }
}

void ScriptedHttpServer::serve(UniqueFd connection) {
    const int fd = connection.get();
    std::string buffer;
    while (std::optional<std::string> request = readRequest(fd, buffer)) {
        const Reply reply = record(std::move(*request));
        switch (reply.ending) {
            case Ending::KeepAlive:
                if (!sendAll(fd, reply.bytes)) return;
                continue;
            case Ending::Close:
                if (sendAll(fd, reply.bytes)) closeGracefully(fd);
                return;
            case Ending::Hang:
                if (sendAll(fd, reply.bytes)) holdUntilStopOrClosed(fd);
                return;
            case Ending::Silent:
                holdUntilStopOrClosed(fd);
                return;
            case Ending::Trickle:
                if (trickleOut(fd, reply.bytes, reply.gap)) closeGracefully(fd);
                return;
            case Ending::Endless:
                sendEndlessly(fd, reply.bytes, reply.piece);
                return;
        }
    }
}

bool ScriptedHttpServer::stopping() const {
    pollfd wake{wakeRead_.get(), POLLIN, 0};
    return poll(&wake, 1, 0) > 0;
}

// True when fd is ready for the events; false when the server ends or the
// timeout passes first. A negative fd just waits.
bool ScriptedHttpServer::waitFor(int fd, short events, int timeoutMs) const {
    pollfd fds[2] = {{wakeRead_.get(), POLLIN, 0}, {fd, events, 0}};
    while (true) {
        const int ready = poll(fds, 2, timeoutMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0 || fds[0].revents != 0) return false;
        return fds[1].revents != 0;
    }
}

// Appends what the peer sent; false at its end, on an error or when the server ends.
bool ScriptedHttpServer::receiveMore(int fd, std::string &buffer) const {
    while (waitFor(fd, POLLIN, kForever)) {
        char chunk[16384];
        const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
        if (n > 0) {
            buffer.append(chunk, static_cast<size_t>(n));
            return true;
        }
        if (n == 0 || (errno != EAGAIN && errno != EINTR)) return false;
    }
    return false;
}

std::optional<std::string> ScriptedHttpServer::readRequest(int fd, std::string &buffer) const {
    size_t headerEnd;
    while ((headerEnd = buffer.find("\r\n\r\n")) == std::string::npos) {
        if (!receiveMore(fd, buffer)) return std::nullopt;
    }
    const size_t total = headerEnd + 4 + contentLength(std::string_view(buffer).substr(0, headerEnd));
    while (buffer.size() < total) {
        if (!receiveMore(fd, buffer)) return std::nullopt;
    }
    std::string request = buffer.substr(0, total);
    buffer.erase(0, total);
    return request;
}

bool ScriptedHttpServer::sendAll(int fd, std::string_view bytes) const {
    while (!bytes.empty()) {
        const ssize_t n = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n > 0) {
            bytes.remove_prefix(static_cast<size_t>(n));
        } else if (errno == EAGAIN || errno == EINTR) {
            if (!waitFor(fd, POLLOUT, kForever)) return false;
        } else {
            return false;
        }
    }
    return true;
}

bool ScriptedHttpServer::trickleOut(int fd, std::string_view bytes, std::chrono::milliseconds gap) const {
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            waitFor(-1, 0, static_cast<int>(gap.count()));
            if (stopping()) return false;
        }
        if (!sendAll(fd, bytes.substr(i, 1))) return false;
    }
    return true;
}

void ScriptedHttpServer::sendEndlessly(int fd, std::string_view head, std::string_view piece) const {
    if (!sendAll(fd, head)) return;
    while (sendAll(fd, piece)) {
    }
}

// Discards what the peer sends until it closes or the server ends.
void ScriptedHttpServer::holdUntilStopOrClosed(int fd) const {
    std::string discarded;
    while (receiveMore(fd, discarded)) discarded.clear();
}

// Ends the sending side, then reads what the peer still sends for a moment:
// closing with unread bytes would reset the connection and could destroy the
// answer before the peer reads it.
void ScriptedHttpServer::closeGracefully(int fd) const {
    shutdown(fd, SHUT_WR);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (std::chrono::steady_clock::now() < deadline) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (!waitFor(fd, POLLIN, static_cast<int>(left.count()) + 1)) return;
        char chunk[16384];
        const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return;
    }
}

}  // namespace test
