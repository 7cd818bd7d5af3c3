#pragma once

#include <string>

#include "export/ExportProgress.h"
#include "export/TaskExport.h"

namespace eng {

struct ProjectTables;

// Exports the newest stored copy of every address of the project into a
// folder "<title> Lark Project" made in the destination (title: the project
// file's name up to its last '.'; numbered when the name is taken): one tree
// "Project Files" of every resource, and beside it the project's folder tree
// (from "Root") with a page per task that opens the task's start page. Tasks
// of one folder whose names differ only in letter case are numbered, the
// last keeping its name. What was written; nothing when the project has no
// stored body.
ExportSummary exportProject(ProjectTables &tables, const std::string &projectPath, const std::string &destination,
                            const ExportOptions &options, const ExportProgressSink &progress);

}  // namespace eng
