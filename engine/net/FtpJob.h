#pragma once

#include "net/NetworkJob.h"

namespace eng {

class CurlTransfer;

// One retrieval over FTP: logs in with the address's credentials (or
// anonymously), looks the file up for its size and date, and reads it. A
// directory is delivered as an HTML index of its entries; a missing file is
// a 404. A failed login asks for credentials for the realm "FTP", up to four
// times.
class FtpJob : public NetworkJob {
public:
    using NetworkJob::NetworkJob;

    static constexpr uint32_t kLoginRetries = 3;

protected:
    void run() override;

private:
    // One attempt with the record's login. Sets opened_ when the file (or
    // the directory's index) was read.
    void retrieve();
    void readFile();
    bool readListing();
    void setLogin(CurlTransfer &transfer) const;
    bool loginFailed() const;

    bool opened_ = false;
};

}  // namespace eng
