#pragma once

#include <cstdint>
#include <string>

#include "store/DatabasePages.h"

struct sqlite3;
struct sqlite3_file;

namespace eng {

// The application id that every project file carries in its header (set by
// the template's schema).
inline constexpr uint32_t kProjectApplicationId = 1397509937;

// A closed project file opened only to be looked at. It is held locked for
// the life of the object, so that no other program opens it meanwhile, and
// never written: its write-ahead log is neither folded in nor removed. Its
// pages are read through SQLite's own handle of the file, so that no second
// descriptor can drop that lock.
class ExaminedProject {
public:
    // Throws CDatabaseException when the file is missing, open in another
    // program, or not a project file (not SQLite, empty, or another
    // application's database).
    explicit ExaminedProject(const std::string &path);
    ExaminedProject(const ExaminedProject &) = delete;
    ExaminedProject &operator=(const ExaminedProject &) = delete;
    ~ExaminedProject();

    // True when SQLite reads the file and its integrity check finds nothing wrong.
    bool sound() const;
    // The file's pages, with the committed pages of its write-ahead log.
    DatabasePages pages() const;

private:
    bool readMain(uint8_t *into, size_t size, uint64_t offset) const;
    uint64_t mainSize() const;
    [[noreturn]] void notAProject() const;

    std::string path_;
    sqlite3 *db_ = nullptr;
    sqlite3_file *file_ = nullptr;
    bool readable_ = false;  // SQLite could read the schema
    DatabaseHeader header_;
};

}  // namespace eng
