#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "support/UniqueFd.h"

namespace test {

// "HTTP/1.0 <status> <reason>\r\n", the extra header lines (a line end is
// added to each that lacks one), "Content-Length: <body size>\r\n\r\n" and the body.
std::string httpResponse(int status, std::string_view reason, std::string_view body,
                         std::vector<std::string> extraHeaderLines = {});

// An HTTP server on 127.0.0.1 that answers from a script, for tests that
// need exact or broken answers. Each connection is served on its own thread:
// it reads one request (the header, then as many body bytes as its
// Content-Length says), records its raw bytes, and plays the next scripted
// answer; with the script empty it answers "500 No script" and closes.
// Destroying the server ends every connection at once, held ones included.
class ScriptedHttpServer {
public:
    ScriptedHttpServer();
    ScriptedHttpServer(const ScriptedHttpServer &) = delete;
    ScriptedHttpServer &operator=(const ScriptedHttpServer &) = delete;
    ~ScriptedHttpServer();

    uint16_t port() const { return port_; }
    std::string url(std::string_view path) const;  // "http://127.0.0.1:<port>" + path

    // Answers in the order they are scripted, whatever the connection.
    void answer(std::string bytes);                                  // send, then close
    void answerKeepAlive(std::string bytes);                         // send, then read the next request
    void answerThenHang(std::string bytes);                          // send, then hold the connection silently
    void silent();                                                   // never answer, hold the connection
    void trickle(std::string bytes, std::chrono::milliseconds gap);  // a byte at a time, gap between, then close

    // Answers for one request target ("/a.html?q"), given each time it is
    // asked for, whatever the script holds; requests for other targets
    // follow the script.
    void route(std::string target, std::string bytes);  // send, then close
    // Sends the head, then the piece again and again until the peer closes.
    void routeEndless(std::string target, std::string head, std::string piece);

    std::vector<std::string> requests() const;  // raw requests received so far, in order
    bool waitForRequests(size_t count, std::chrono::milliseconds timeout) const;
    size_t connections() const;  // connections accepted so far

private:
    enum class Ending { Close, KeepAlive, Hang, Silent, Trickle, Endless };
    struct Reply {
        Reply(std::string bytes, Ending ending, std::chrono::milliseconds gap = {}, std::string piece = {})
            : bytes(std::move(bytes)), ending(ending), gap(gap), piece(std::move(piece)) {}
        std::string bytes;
        Ending ending;
        std::chrono::milliseconds gap;
        std::string piece;  // what an endless answer repeats
    };

    void script(Reply reply);
    Reply record(std::string request);
    void acceptConnections();
    void serve(UniqueFd connection);
    bool stopping() const;
    bool waitFor(int fd, short events, int timeoutMs) const;
    bool receiveMore(int fd, std::string &buffer) const;
    std::optional<std::string> readRequest(int fd, std::string &buffer) const;
    bool sendAll(int fd, std::string_view bytes) const;
    bool trickleOut(int fd, std::string_view bytes, std::chrono::milliseconds gap) const;
    void sendEndlessly(int fd, std::string_view head, std::string_view piece) const;
    void holdUntilStopOrClosed(int fd) const;
    void closeGracefully(int fd) const;

    UniqueFd listener_;
    UniqueFd wakeRead_;   // readable (hung up) once the server ends
    UniqueFd wakeWrite_;  // closed by the destructor
    uint16_t port_ = 0;

    mutable std::mutex mutex_;
    mutable std::condition_variable arrived_;
    std::deque<Reply> script_;
    std::map<std::string, Reply, std::less<>> routes_;
    std::vector<std::string> requests_;
    size_t connections_ = 0;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
};

}  // namespace test
