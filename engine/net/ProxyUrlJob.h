#pragma once

#include "net/NetworkJob.h"

namespace eng {

class HttpRequest;

// One retrieval of an ftp address through an HTTP proxy, which answers in
// HTTP: one request for the whole address, credentials for the FTP server
// (401) or the proxy (407) tried up to four times, and the redirect target of
// a 300 to 303 answer made absolute. A proxy that does not answer in HTTP is
// not supported (12018).
class ProxyUrlJob : public NetworkJob {
public:
    using NetworkJob::NetworkJob;

    static constexpr uint32_t kCredentialRetries = 4;

protected:
    AccessType accessType() const override { return AccessType::NamedProxy; }
    void run() override;

private:
    // Sends again (after a challenge, with the record's credentials) and
    // reads the answer; false when the attempts must stop.
    bool attempt(HttpRequest &request, const std::string &headers, bool send);
};

}  // namespace eng
