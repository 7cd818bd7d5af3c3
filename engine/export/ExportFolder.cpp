#include "export/ExportFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "base/AsciiText.h"
#include "base/EngineException.h"
#include "sys/UiHost.h"

namespace eng {

namespace {

constexpr mode_t kFolderMode = 0755;
constexpr mode_t kFileMode = 0644;

std::string reason(int error) { return std::strerror(error); }

[[noreturn]] void cannotCreateFolder(const std::string &path, int error) {
    throw CEngineException("Cant't create directory " + path + ": " + reason(error));
}

// A name only this process gives, never one of the export's own (those
// never start with ".lark-export-").
std::string temporaryName() {
    static std::atomic<unsigned long> counter{0};
    return ".lark-export-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp";
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written == 0) errno = EIO;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// Gives the temporary file its name unless the name is taken: atomically
// where the file system can, else by a hard link (which never replaces).
int renameNoReplace(int dir, const std::string &from, const std::string &to) {
    if (::renameat2(dir, from.c_str(), dir, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    if (::linkat(dir, from.c_str(), dir, to.c_str(), 0) != 0) return errno;
    ::unlinkat(dir, from.c_str(), 0);
    return 0;
}

// A file being written in a folder before it gets its name. Where the file
// system has them it is an unnamed file (O_TMPFILE): nothing is left behind
// whatever happens to the process, and no name is made and removed per file,
// which makes writing many small files a third faster. Elsewhere it has a
// temporary name of this process, removed unless the file got its own.
class PendingFile {
public:
    explicit PendingFile(int dir) : dir_(dir), file_(::openat(dir, ".", O_WRONLY | O_TMPFILE | O_CLOEXEC, kFileMode)) {
        if (file_) return;
        temporary_ = temporaryName();
        file_ = FileDescriptor(
            ::openat(dir, temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kFileMode));
    }
    PendingFile(const PendingFile &) = delete;
    PendingFile &operator=(const PendingFile &) = delete;
    ~PendingFile() {
        if (!temporary_.empty()) ::unlinkat(dir_, temporary_.c_str(), 0);
    }

    explicit operator bool() const { return static_cast<bool>(file_); }
    int get() const { return file_.get(); }

    // Closes the complete file and gives it the name unless the name is
    // taken: 0, or the errno of what failed (EEXIST for a taken name).
    int giveName(const std::string &name) {
        if (!temporary_.empty()) {
            // A file system may report a full disk only when the file is closed.
            if (file_.close() != 0) return errno;
            const int error = renameNoReplace(dir_, temporary_, name);
            if (error == 0) temporary_.clear();
            return error;
        }
        const std::string self = "/proc/self/fd/" + std::to_string(file_.get());
        if (::linkat(AT_FDCWD, self.c_str(), dir_, name.c_str(), AT_SYMLINK_FOLLOW) != 0) return errno;
        if (file_.close() == 0) return 0;
        const int error = errno;
        ::unlinkat(dir_, name.c_str(), 0);
        return error;
    }

private:
    int dir_;
    FileDescriptor file_;
    std::string temporary_;
};

}  // namespace

ExportFolder ExportFolder::destination(const std::string &path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd) cannotCreateFolder(path, error ? error.value() : errno);
    return ExportFolder(std::move(fd), path);
}

ExportFolder ExportFolder::subfolder(const std::string &name) const {
    const std::string path = pathOf(name);
    if (::mkdirat(fd_.get(), name.c_str(), kFolderMode) != 0 && errno != EEXIST) cannotCreateFolder(path, errno);
    FileDescriptor fd(::openat(fd_.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd) cannotCreateFolder(path, errno);
    return ExportFolder(std::move(fd), path);
}

bool ExportFolder::holds(const std::string &name) const {
    struct stat info;
    if (::fstatat(fd_.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) return true;
    FileDescriptor copy(::dup(fd_.get()));
    const std::unique_ptr<DIR, int (*)(DIR *)> listing(copy ? ::fdopendir(copy.get()) : nullptr, ::closedir);
    if (!listing) return false;
    copy.release();  // the listing owns it now
    ::rewinddir(listing.get());
    while (const dirent *entry = ::readdir(listing.get()))
        if (equalsNoCase(entry->d_name, name)) return true;
    return false;
}

namespace {

MemoryBytes bytesOf(std::string_view text) {
    return MemoryBytes({reinterpret_cast<const uint8_t *>(text.data()), text.size()});
}

}  // namespace

bool ExportFolder::writeNew(const std::string &name, std::string_view bytes) const {
    return writeNew(name, bytesOf(bytes));
}

bool ExportFolder::writeNew(const std::string &name, const ByteSource &bytes) const {
    PendingFile file(fd_.get());
    if (!file) throw CEngineException("Can't write " + pathOf(name) + ": " + reason(errno));
    int error = 0;
    bytes.forEachPiece([&](std::span<const uint8_t> piece) {
        if (writeAll(file.get(), {reinterpret_cast<const char *>(piece.data()), piece.size()})) return true;
        error = errno;
        return false;
    });
    if (error == 0) error = file.giveName(name);
    if (error == 0) return true;
    if (error == EEXIST) return false;
    throw CEngineException("Can't write " + pathOf(name) + ": " + reason(error));
}

bool writeExportFile(const ExportFolder &folder, const std::string &name, const ByteSource &bytes,
                     ExportSummary &summary) {
    if (!folder.writeNew(name, bytes)) {
        showEngineMessage(folder.pathOf(name) + " already exists and was not written by this export; it was kept");
        ++summary.notWritten;
        return false;
    }
    ++summary.files;
    summary.bytes += bytes.size();
    return true;
}

bool writeExportFile(const ExportFolder &folder, const std::string &name, std::string_view bytes,
                     ExportSummary &summary) {
    return writeExportFile(folder, name, bytesOf(bytes), summary);
}

}  // namespace eng
