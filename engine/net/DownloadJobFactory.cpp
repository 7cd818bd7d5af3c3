#include "net/DownloadJobFactory.h"

#include <cstdlib>

#include "base/AsciiText.h"
#include "net/FileJob.h"
#include "net/FtpJob.h"
#include "net/HttpJob.h"
#include "net/InternetSession.h"
#include "net/ProxyUrlJob.h"

namespace eng {

namespace {

// The proxy that the environment names for FTP, if any.
std::string systemFtpProxy() {
    for (const char *name : {"ftp_proxy", "FTP_PROXY", "http_proxy"})
        if (const char *value = std::getenv(name); value && *value) return value;
    return {};
}

std::shared_ptr<DownloadJob> ftpJob(const FtpProxySettings &ftp, JobContext context) {
    std::string proxy;
    Credentials credentials;
    if (ftp.accessType == static_cast<uint32_t>(AccessType::System)) {
        proxy = systemFtpProxy();
    } else if (ftp.accessType == static_cast<uint32_t>(AccessType::NamedProxy)) {
        proxy = ftp.proxy;
        credentials = ftp.credentials;
    }
    if (proxy.empty()) return std::make_shared<FtpJob>(std::move(context));
    auto job = std::make_shared<ProxyUrlJob>(std::move(context));
    job->record().proxy = std::move(proxy);
    job->record().userName = std::move(credentials.userName);
    job->record().password = std::move(credentials.password);
    return job;
}

}  // namespace

std::shared_ptr<DownloadJob> createDownloadJob(std::string_view url, const FtpProxySettings &ftp, JobContext context) {
    if (startsWithNoCase(url, "file://")) return std::make_shared<FileJob>(std::move(context));
    if (startsWithNoCase(url, "http")) return std::make_shared<HttpJob>(std::move(context));
    if (startsWithNoCase(url, "ftp")) return ftpJob(ftp, std::move(context));
    return nullptr;
}

}  // namespace eng
