#pragma once

#include <string>

namespace eng {

// Compacts a closed project file: a compacted copy is written to path +
// "_tmp" and then replaces the file. Returns false, and leaves the file as
// it was, when anything fails (the file is missing, not a database, or open
// elsewhere).
bool compactDatabase(const std::string &path);

// Repairs a closed project file: when its integrity check fails, every row
// that can still be read is copied into a fresh project that then replaces
// the file. Returns false when the file cannot be read as a database at all.
bool repairDatabase(const std::string &path);

}  // namespace eng
