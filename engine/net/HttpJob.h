#pragma once

#include "net/NetworkJob.h"

namespace eng {

class HttpRequest;

// One retrieval over HTTP or HTTPS: the request with the record's headers and
// form data, the size filter, up to three credential retries after a 401 or
// 407, and the redirect target made absolute.
class HttpJob : public NetworkJob {
public:
    using NetworkJob::NetworkJob;

    static constexpr uint32_t kCredentialRetries = 3;

protected:
    void run() override;

private:
    // Reads one response: head, size filter, body. False when the size
    // filter rejected it.
    bool receive(HttpRequest &request);
};

}  // namespace eng
