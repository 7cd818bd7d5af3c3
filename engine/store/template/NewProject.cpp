#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "ProjectTemplate.h"

namespace eng {

namespace {

[[noreturn]] void fail(const std::string &what, const std::string &path) {
    throw std::runtime_error(what + " \"" + path + "\": " + std::strerror(errno));
}

// True when another connection holds the database at path locked.
bool heldByAnotherProgram(const std::string &path) {
    sqlite3 *db = nullptr;
    bool busy = false;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK)
        busy = (sqlite3_exec(db, "BEGIN EXCLUSIVE; COMMIT", nullptr, nullptr, nullptr) & 0xFF) == SQLITE_BUSY;
    sqlite3_close(db);
    return busy;
}

void writeAll(int fd, std::span<const unsigned char> bytes, const std::string &path) {
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) fail("Cannot write the project", path);
        done += static_cast<size_t>(n);
    }
}

}  // namespace

void writeNewProject(const std::string &path) {
    if (::access(path.c_str(), F_OK) == 0 && heldByAnotherProgram(path))
        throw std::runtime_error("The project \"" + path + "\" is open in another program");
    // Written beside the target and renamed over it, so that a failure
    // never leaves half a project.
    const std::string temporary = path + ".new";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) fail("Cannot create the project", path);
    try {
        writeAll(fd, projectTemplate(), temporary);
        if (::fsync(fd) != 0) fail("Cannot write the project", path);
    } catch (...) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw;
    }
    ::close(fd);
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        fail("Cannot create the project", path);
    }
    // A log left by an earlier project at this path would be replayed into
    // the new file.
    ::unlink((path + "-wal").c_str());
    ::unlink((path + "-shm").c_str());
}

}  // namespace eng
