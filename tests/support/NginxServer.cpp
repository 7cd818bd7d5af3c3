#include "support/NginxServer.h"

#include <unistd.h>

#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "support/FreePort.h"

namespace test {

namespace {

constexpr const char *kNginx = "/usr/sbin/nginx";
constexpr const char *kOpenssl = "/usr/bin/openssl";
constexpr const char *kMimeTypes = "/etc/nginx/mime.types";
constexpr auto kStartTimeout = std::chrono::seconds(10);
constexpr int kPortAttempts = 5;

// A path as an nginx configuration string.
std::string quoted(const std::filesystem::path &path) {
    std::string text = "\"";
    for (char c : path.string()) {
        if (c == '"' || c == '\\') text += '\\';
        text += c;
    }
    return text + "\"";
}

std::string readFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace

NginxServer::NginxServer(std::filesystem::path root) : NginxServer(std::move(root), Options{}) {}

NginxServer::NginxServer(std::filesystem::path root, Options options)
    : root_(std::filesystem::absolute(root)), options_(std::move(options)) {
    if (options_.tls) makeCertificate();
    for (int attempt = 0; attempt < kPortAttempts; ++attempt) {
        if (tryStart()) return;
    }
    throw std::runtime_error("nginx found no free port:\n" + errorLog());
}

NginxServer::~NginxServer() { process_.reset(); }

std::string NginxServer::url(std::string_view path) const {
    return std::string(options_.tls ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::filesystem::path NginxServer::certificatePath() const { return home_.path() / "cert.pem"; }

std::vector<std::string> NginxServer::accessLog() const {
    std::vector<std::string> lines;
    std::istringstream log(readFile(home_.path() / "access.log"));
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
}

size_t NginxServer::connectionsLogged() const {
    std::set<std::string> serials;
    std::istringstream log(readFile(home_.path() / "connections.log"));
    for (std::string serial; std::getline(log, serial);) serials.insert(serial);
    return serials.size();
}

bool NginxServer::waitForAccessLog(size_t lines, std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (accessLog().size() < lines) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

std::string NginxServer::errorLog() const {
    return readFile(home_.path() / "error.log") + readFile(home_.path() / "stderr.log");
}

void NginxServer::makeCertificate() const {
    const std::filesystem::path log = home_.path() / "openssl.log";
    ChildProcess openssl(
        {kOpenssl, "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=" + options_.commonName,
         "-keyout", (home_.path() / "key.pem").string(), "-out", certificatePath().string()},
        {.pipeStdout = false, .outputFile = log});
    const std::optional<int> exitCode = openssl.waitForExit(std::chrono::seconds(60));
    if (exitCode != 0) throw std::runtime_error("openssl could not make a certificate:\n" + readFile(log));
}

std::string NginxServer::configuration() const {
    const std::filesystem::path &home = home_.path();
    std::ostringstream config;
    config << "daemon off;\n";
    if (options_.workers > 1) {
        config << "worker_processes " << options_.workers << ";\n";
    } else {
        config << "master_process off;\n";
    }
    // Workers of a master run as root switch to "nobody", who cannot read a private temporary folder.
    if (geteuid() == 0) config << "user root;\n";
    config << "pid " << quoted(home / "nginx.pid") << ";\n"
           << "lock_file " << quoted(home / "nginx.lock") << ";\n"
           << "error_log " << quoted(home / "error.log") << " warn;\n"
           << "events {\n    worker_connections 256;\n}\n"
           << "http {\n";
    if (std::filesystem::exists(kMimeTypes)) config << "    include " << kMimeTypes << ";\n";
    config << "    default_type application/octet-stream;\n"
           << "    log_format lark '$request $status $body_bytes_sent';\n"
           << "    access_log " << quoted(home / "access.log") << " lark;\n"
           << "    log_format connection '$connection';\n"
           << "    access_log " << quoted(home / "connections.log") << " connection;\n";
    for (const char *kind : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"}) {
        config << "    " << kind << "_temp_path " << quoted(home / kind) << ";\n";
    }
    config << "    server {\n"
           << "        listen 127.0.0.1:" << port_ << (options_.tls ? " ssl" : "") << ";\n"
           << "        server_name localhost;\n"
           << "        root " << quoted(root_) << ";\n";
    if (options_.tls) {
        config << "        ssl_certificate " << quoted(certificatePath()) << ";\n"
               << "        ssl_certificate_key " << quoted(home / "key.pem") << ";\n";
    }
    if (options_.autoindex) config << "        autoindex on;\n";
    config << options_.extraServerConfig << "\n"
           << "    }\n"
           << "}\n";
    return config.str();
}

bool NginxServer::tryStart() {
    const std::filesystem::path &home = home_.path();
    port_ = freePort();
    const std::filesystem::path configPath = home / "nginx.conf";
    std::ofstream(configPath) << configuration();
    for (const char *stale : {"error.log", "stderr.log", "nginx.pid"}) std::filesystem::remove(home / stale);

    process_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{kNginx, "-p", home.string() + "/", "-c", configPath.string(), "-e",
                                 (home / "error.log").string()},
        ChildProcess::Options{.pipeStdout = false, .outputFile = home / "stderr.log"});
    // nginx writes its pid file once its port is bound: a connection before it could reach another program.
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (process_->running() && !std::filesystem::exists(home / "nginx.pid") &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ChildProcess &process = *process_;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (std::filesystem::exists(home / "nginx.pid") &&
        waitUntilAccepting(port_, left, [&process] { return process.running(); })) {
        return true;
    }

    process_.reset();
    const std::string log = errorLog();
    if (log.find("Address already in use") != std::string::npos) return false;
    throw std::runtime_error("nginx did not start on port " + std::to_string(port_) + ":\n" + log);
}

}  // namespace test
