#pragma once

#include <memory>
#include <string>

#include "net/DownloadJob.h"
#include "net/HttpRequest.h"
#include "net/InternetSession.h"

namespace eng {

class CurlTransfer;
class ResponseHead;

// A retrieval over the network (HTTP, FTP, FTP through a proxy): it opens a
// session with the record's agent and proxy, and an abort closes that
// session (and an open credentials prompt) so that the worker's blocking
// calls return at once.
class NetworkJob : public DownloadJob {
public:
    using DownloadJob::DownloadJob;

    static constexpr size_t kChunkSize = 4096;

protected:
    bool openSession() override;
    // Releases the session.
    void close() override;
    void interrupt() override;
    // A job whose request never opened takes the last error; a 200 or 206
    // without a body is a reset connection.
    void finish() override;

    // How the session reaches the network: the record's access type.
    virtual AccessType accessType() const { return static_cast<AccessType>(record_.accessType); }
    InternetSession &session() { return *session_; }
    // The request (or connection) is open: finish need not blame its absence.
    void setHandlesOpen() { handlesOpen_ = true; }

    // Copies the status, length and header fields of a response into the record.
    void readResponseHead(const ResponseHead &head);
    // Sets state 3 (unless aborted meanwhile) and reports progress.
    void beginBody();
    // Reads the body in chunks. With `sizeFiltered`, a body that grows past
    // the maximum size is rejected. False when it was rejected.
    bool readBody(CurlTransfer &transfer, bool sizeFiltered);
    // The size filter's verdict on the announced length (true when inactive).
    bool sizeFilterPasses(uint64_t length) const;
    // Status 406 with the filter's message as an HTML body; the chunk that
    // went past the maximum is counted.
    void rejectBySize(size_t lastChunk = 0);
    // Makes the record's location absolute and canonical against its URL.
    void resolveLocation();
    // Asks for credentials after a challenge (never for a retrieval that
    // belongs to no resource).
    bool askCredentials(uint32_t retry, const std::string &server);

    // A 401 (server) or 407 (proxy) answer.
    static bool isChallenge(uint32_t status) { return status == 401 || status == 407; }
    // Takes the realm of the answer's challenge into the record and asks for
    // credentials for it; true when they were given. The scheme the challenge
    // asks for (Basic or Digest) is kept for applyCredentials.
    bool answerChallenge(const ResponseHead &head, uint32_t retry, const std::string &server);
    // Sets the record's credentials on the request in the challenge's
    // scheme: for the proxy after a 407, for the server otherwise.
    void applyCredentials(HttpRequest &request, uint32_t status) const;

    uint32_t lastError_ = 0;

private:
    std::unique_ptr<InternetSession> session_;
    bool handlesOpen_ = false;
    PromptCancel promptCancel_;
    AuthScheme challengeScheme_ = AuthScheme::Basic;
};

}  // namespace eng
