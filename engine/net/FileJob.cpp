#include "net/FileJob.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/PercentDecoding.h"
#include "content/LocalFileNames.h"
#include "content/MimeType.h"
#include "net/HttpDate.h"
#include "sys/FileDescriptor.h"

namespace eng {

namespace {

constexpr std::string_view kFileScheme = "file://";

// The local path of a file address: the text after "file://" up to any query
// or fragment, with its percent escapes decoded.
std::string localPath(std::string_view url) {
    std::string_view rest = url.substr(std::min(url.size(), kFileScheme.size()));
    return percentDecoded(rest.substr(0, rest.find_first_of("?#")));
}

// Opens a regular file for reading. Nothing else is read: a device may never
// end, a FIFO or socket may block, a folder has no bytes. The open itself
// does not wait (for a FIFO's writer), and the check is on what was opened.
// Returns the system's error number, 0 when the file is open.
int openRegularFile(const std::string &path, FileDescriptor &file, struct stat &status) {
    file = FileDescriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!file || ::fstat(file.get(), &status) != 0) return errno;
    if (S_ISREG(status.st_mode)) return 0;
    return S_ISDIR(status.st_mode) ? EISDIR : ENOTSUP;
}

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
    FileDescriptor file;
    struct stat status {};
    if (const int error = openRegularFile(localPath(record_.url), file, status)) {
        recordError(static_cast<uint32_t>(error));
        record_.statusCode = 404;
        record_.statusText = "Not found";
        return;
    }
    record_.statusCode = 200;
    record_.statusText = "OK";
    record_.lastModified = formatHttpTime(status.st_mtime, true);
    {
        std::lock_guard guard(lock_);
        record_.state = DownloadRecord::Receiving;
    }
    record_.contentLength = static_cast<uint64_t>(status.st_size);
    reportProgress();
    readFile(file.get());
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
