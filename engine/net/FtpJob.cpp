#include "net/FtpJob.h"

#include "base/Url.h"
#include "net/CurlTransfer.h"
#include "net/FtpCredentials.h"
#include "net/FtpDirectoryPage.h"
#include "net/HttpDate.h"
#include "sys/InternetErrors.h"

namespace eng {

namespace {
// The most bytes of a folder's names taken into its listing page.
constexpr size_t kLongestListing = 4 << 20;
}  // namespace

void FtpJob::run() {
    lastError_ = 0;
    const auto parts = url::split(record_.url);
    if (!parts) {
        lastError_ = kErrInvalidUrl;
        return;
    }
    const Credentials login = ftpCredentials(record_.url);
    record_.userName = login.userName;
    record_.password = login.password;
    for (uint32_t retry = 0;; ++retry) {
        retrieve();
        if (!loginFailed() || retry > kLoginRetries) break;
        record_.realm = "FTP";
        if (!askCredentials(retry, parts->host)) break;
        uint32_t failure = kErrLoginFailure;
        record_.errorCode.compare_exchange_strong(failure, 0);  // try again afresh, unless cancelled meanwhile
        whileRunning([this] { record_.statusCode = 0; });
        lastError_ = 0;
    }
}

bool FtpJob::loginFailed() const { return record_.errorCode.load() == kErrLoginFailure; }

void FtpJob::setLogin(CurlTransfer &transfer) const {
    curl_easy_setopt(transfer.handle(), CURLOPT_USERNAME, record_.userName.c_str());
    curl_easy_setopt(transfer.handle(), CURLOPT_PASSWORD, record_.password.c_str());
}

void FtpJob::retrieve() {
    opened_ = false;
    bool missing = record_.url.ends_with('/');  // a directory's address: no file to look up
    if (!missing) {
        CurlTransfer lookup(session(), record_.url);
        setLogin(lookup);
        curl_easy_setopt(lookup.handle(), CURLOPT_NOBODY, 1L);
        curl_easy_setopt(lookup.handle(), CURLOPT_FILETIME, 1L);
        if (lookup.start() && lookup.error() == 0) {
            whileRunning([&] {
                record_.contentLength = static_cast<uint64_t>(std::max<int64_t>(lookup.announcedSize(), 0));
                if (lookup.fileTime() >= 0) record_.lastModified = formatHttpTime(lookup.fileTime(), false);
            });
            readFile();
        } else if (lookup.result() == CURLE_REMOTE_FILE_NOT_FOUND) {
            missing = true;
        } else {
            lastError_ = lookup.error();
        }
    }
    if (missing && !readListing() && lastError_ == 0) {
        whileRunning([this] {
            record_.statusCode = 404;
            record_.statusText = "Not Found";
        });
    }
    if (!opened_ && lastError_ != 0 && record_.errorCode.load() == 0) {
        recordError(lastError_);
        const bool loginRefused = lastError_ == kErrIncorrectPassword || lastError_ == kErrLoginFailure;
        if (loginRefused) whileRunning([this] { record_.statusCode = 401; });
    }
}

void FtpJob::readFile() {
    CurlTransfer file(session(), record_.url);
    setLogin(file);
    if (!file.start()) {
        lastError_ = file.error();
        return;
    }
    opened_ = true;
    setHandlesOpen();
    whileRunning([&] {
        if (record_.contentLength == 0)
            record_.contentLength = static_cast<uint64_t>(std::max<int64_t>(file.announcedSize(), 0));
        record_.statusCode = 200;
        record_.statusText = "OK";
    });
    beginBody();
    readBody(file, false);
}

bool FtpJob::readListing() {
    std::string directory = record_.url;
    if (!directory.ends_with('/')) directory += '/';
    CurlTransfer listing(session(), directory);
    setLogin(listing);
    curl_easy_setopt(listing.handle(), CURLOPT_DIRLISTONLY, 1L);
    std::string names;
    if (listing.start()) {
        listing.receive(kChunkSize, [&names](const uint8_t *bytes, size_t count) {
            names.append(bytes, bytes + count);
            return names.size() < kLongestListing;  // a page of the names that came so far
        });
    }
    if (listing.error() != 0) {
        if (listing.result() != CURLE_REMOTE_FILE_NOT_FOUND && listing.result() != CURLE_REMOTE_ACCESS_DENIED)
            lastError_ = listing.error();
        return false;
    }
    opened_ = true;
    setHandlesOpen();
    const std::string page = ftpDirectoryPage(directory, names);
    whileRunning([&] {
        record_.body.assign(page);
        record_.contentLength = record_.received = page.size();
        record_.statusCode = 200;
        record_.statusText = "OK";
        record_.contentType = "text/html";
    });
    return true;
}

}  // namespace eng
