#pragma once

#include <memory>
#include <string_view>

#include "net/DownloadJob.h"
#include "net/HttpRequest.h"

namespace eng {

// What decides how an ftp address is fetched: the project's proxy access
// type and its FTP proxy.
struct FtpProxySettings {
    uint32_t accessType = 0;
    std::string proxy;
    Credentials credentials;
};

// The job for an address, by its scheme (compared without regard to case):
// file:// a FileJob; http and https an HttpJob; ftp a ProxyUrlJob when a proxy
// is to be used (the project's with access type 3; with access type 0 the
// environment's ftp_proxy, else http_proxy), else an FtpJob. A ProxyUrlJob's
// record gets its proxy and credentials. Nothing for any other scheme.
std::shared_ptr<DownloadJob> createDownloadJob(std::string_view url, const FtpProxySettings &ftp, JobContext context);

}  // namespace eng
