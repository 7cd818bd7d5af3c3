#include "store/ExaminedProject.h"

#include <sqlite3.h>

#include <array>
#include <filesystem>

#include "store/DatabaseException.h"

namespace eng {

namespace {

bool hasLog(const std::string &path) {
    std::error_code error;
    return std::filesystem::file_size(path + "-wal", error) > 0 && !error;
}

}  // namespace

ExaminedProject::ExaminedProject(const std::string &path) : path_(path) {
    const int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        throw CDatabaseException("Cannot open the project \"" + path + "\": " + message);
    }
    // A log that holds transactions stays as it is: folding it into a damaged
    // file would change the file that is being rescued.
    if (hasLog(path)) sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    // The lock is taken at the first read and kept; a cut-off file, whose
    // header counts more pages than it has, is still read as far as it goes.
    sqlite3_exec(db_, "PRAGMA locking_mode=EXCLUSIVE; PRAGMA writable_schema=ON", nullptr, nullptr, nullptr);
    const int probe = sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) & 0xFF;
    if (probe == SQLITE_BUSY || probe == SQLITE_LOCKED) {
        sqlite3_close(db_);
        throw CDatabaseException("The project \"" + path + "\" is open in another program.");
    }
    readable_ = probe == SQLITE_OK;
    std::array<uint8_t, DatabaseHeader::kSize> first{};
    if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_FILE_POINTER, &file_) != SQLITE_OK || !file_ ||
        !file_->pMethods || !readMain(first.data(), first.size(), 0))
        notAProject();
    const std::optional<DatabaseHeader> header = parseDatabaseHeader(first);
    if (!header || header->applicationId != kProjectApplicationId || header->textEncoding != 1) notAProject();
    header_ = *header;
}

ExaminedProject::~ExaminedProject() { sqlite3_close(db_); }

void ExaminedProject::notAProject() const {
    sqlite3_close(db_);
    throw CDatabaseException("The file \"" + path_ + "\" is not a Sitelark project.");
}

bool ExaminedProject::readMain(uint8_t *into, size_t size, uint64_t offset) const {
    return file_->pMethods->xRead(file_, into, static_cast<int>(size), static_cast<sqlite3_int64>(offset)) == SQLITE_OK;
}

uint64_t ExaminedProject::mainSize() const {
    sqlite3_int64 size = 0;
    return file_->pMethods->xFileSize(file_, &size) == SQLITE_OK && size > 0 ? static_cast<uint64_t>(size) : 0;
}

bool ExaminedProject::sound() const {
    if (!readable_) return false;
    // A file shorter than its header says has lost pages, whatever the check
    // finds in those that are left.
    if (header_.recordedPages != 0 && mainSize() < uint64_t{header_.recordedPages} * header_.pageSize && !hasLog(path_))
        return false;
    sqlite3_stmt *check = nullptr;
    bool ok = false;
    if (sqlite3_prepare_v2(db_, "PRAGMA integrity_check(1)", -1, &check, nullptr) == SQLITE_OK &&
        sqlite3_step(check) == SQLITE_ROW) {
        const unsigned char *text = sqlite3_column_text(check, 0);
        ok = text && std::string(reinterpret_cast<const char *>(text)) == "ok";
    }
    sqlite3_finalize(check);
    return ok;
}

DatabasePages ExaminedProject::pages() const {
    return DatabasePages([this](uint8_t *into, size_t size, uint64_t offset) { return readMain(into, size, offset); },
                         mainSize(), header_, path_ + "-wal");
}

}  // namespace eng
