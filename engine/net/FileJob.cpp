#include "net/FileJob.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "content/LocalFileNames.h"
#include "content/MimeType.h"
#include "content/PercentDecoding.h"
#include "net/HttpDate.h"

namespace eng {

namespace {

constexpr std::string_view kFileScheme = "file://";

// The local path of a file address: the text after "file://" up to any query
// or fragment, with its percent escapes decoded.
std::string localPath(std::string_view url) {
    std::string_view rest = url.substr(std::min(url.size(), kFileScheme.size()));
    return percentDecoded(rest.substr(0, rest.find_first_of("?#")));
}

// Closes the descriptor when the reading ends, whichever way.
struct OpenFile {
    int descriptor;
    ~OpenFile() {
        if (descriptor >= 0) ::close(descriptor);
    }
};

}  // namespace

bool FileJob::abort(uint32_t reason) {
    std::lock_guard guard(lock_);
    record_.aborted = reason;
    stop_ = true;
    return false;
}

void FileJob::run() {
    record_.server = "Localhost";
    record_.contentType = std::string(mimeTypeOfExtension(extensionOfUrl(record_.url).text));
    const OpenFile file{::open(localPath(record_.url).c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.descriptor < 0) {
        recordError(static_cast<uint32_t>(errno));
        record_.statusCode = 404;
        record_.statusText = "Not found";
        return;
    }
    record_.statusCode = 200;
    record_.statusText = "OK";
    struct stat status {};
    const bool known = ::fstat(file.descriptor, &status) == 0;
    if (known) record_.lastModified = formatHttpTime(status.st_mtime, true);
    {
        std::lock_guard guard(lock_);
        record_.state = DownloadRecord::Receiving;
    }
    record_.contentLength = known ? static_cast<uint32_t>(status.st_size) : 0;
    reportProgress();
    record_.body.reserve(record_.contentLength);
    readFile(file.descriptor);
}

void FileJob::readFile(int descriptor) {
    std::vector<uint8_t> piece(kPieceSize);
    while (!stop_) {
        const ssize_t count = ::read(descriptor, piece.data(), piece.size());
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) {
            recordError(static_cast<uint32_t>(errno));
            record_.contentLength = 0;
            return;
        }
        if (count == 0 || !appendChunk(piece.data(), static_cast<size_t>(count))) return;
    }
}

}  // namespace eng
