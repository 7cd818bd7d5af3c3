#pragma once

#include <string>

#include "store/RepairReport.h"

namespace eng {

// Repairs a closed project file.
//
// A sound file is left exactly as it is. A damaged one is rebuilt: every row
// that can still be read from the file's table b-trees, page by page, even
// where SQLite refuses the file, goes with its key into a fresh project made
// from the template. The damaged file (with its write-ahead log) is then kept
// beside the repaired one as path + ".damaged" (".damaged2", ... when that
// name is taken) and the fresh project takes its place; so nothing the file
// held is ever lost by repairing it.
//
// Throws CDatabaseException, and changes no file, when the file is missing,
// open in another program, not a project file, or holds no readable row.
RepairReport repairProject(const std::string &path);

}  // namespace eng
