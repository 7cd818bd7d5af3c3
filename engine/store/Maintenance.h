#pragma once

#include <string>

namespace eng {

// Compacts a closed project file: a compacted copy is written to path +
// "_tmp" and then replaces the file. Returns false, and leaves the file as
// it was, when anything fails (the file is missing, not a database, or open
// elsewhere).
bool compactDatabase(const std::string &path);

// Repairs a closed project file (see repairProject): a sound file is left as
// it is, a damaged one is rebuilt from every row that can still be read, with
// the damaged file kept beside it. Returns false, and changes nothing, when
// the file is not a project, is open elsewhere or holds nothing readable.
// `report` receives the repair's report or the reason for the failure.
bool repairDatabase(const std::string &path, std::string &report);
bool repairDatabase(const std::string &path);

}  // namespace eng
