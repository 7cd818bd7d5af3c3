#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace test {

// /usr/sbin/nginx in the foreground on 127.0.0.1 and a free port, serving a
// folder, with its configuration, logs, pid and temporary files in a folder
// of its own. The constructor returns once the port accepts connections and
// throws std::runtime_error, with nginx's error log, when it does not.
class NginxServer {
public:
    struct Options {
        bool tls = false;                          // https, with a self-signed certificate made for the server
        std::string commonName = "sitelark-test";  // the certificate's subject
        bool autoindex = false;                    // folder listings
        std::string extraServerConfig;             // raw lines for the server block
        int workers = 1;                           // 1: a single process; more: a master and its workers
    };

    explicit NginxServer(std::filesystem::path root);
    NginxServer(std::filesystem::path root, Options options);
    NginxServer(const NginxServer &) = delete;
    NginxServer &operator=(const NginxServer &) = delete;
    ~NginxServer();

    uint16_t port() const { return port_; }
    std::string url(std::string_view path) const;  // "http://127.0.0.1:<port>" + path, https with tls
    const std::filesystem::path &root() const { return root_; }
    std::filesystem::path certificatePath() const;  // the PEM certificate, with tls

    // One line per finished request: "<request line> <status> <body bytes sent>".
    std::vector<std::string> accessLog() const;
    // How many connections the logged requests came over.
    size_t connectionsLogged() const;
    // nginx writes a request's line just after answering it: tests wait for it.
    bool waitForAccessLog(size_t lines, std::chrono::milliseconds timeout) const;
    std::string errorLog() const;

private:
    void makeCertificate() const;
    std::string configuration() const;
    bool tryStart();  // false when the port was taken meanwhile

    std::filesystem::path root_;
    Options options_;
    TempDir home_;
    uint16_t port_ = 0;
    std::unique_ptr<ChildProcess> process_;
};

}  // namespace test
