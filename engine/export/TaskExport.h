#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "export/ExportProgress.h"

namespace eng {

struct ProjectTables;

struct ExportOptions {
    bool htmlExtension = false;  // pages end in ".html"
    size_t nameLength = 0;       // longest name made from an address; 0: names are cut to 100
};

// Exports a task's retrieved resources to a destination: a page that opens
// the task's start page (named after the destination's file name, else the
// task) and beside it the page's companion folder ("<page>_files") holding
// the tree of the resources' addresses. The destination is a folder when it
// ends in '/' or is one. The page name is made unique so that neither the
// page nor its companion folder exists yet: an export never writes into
// files or folders it did not make. Nothing when the task does not exist or
// has no items; otherwise what was written.
std::optional<ExportSummary> exportTask(ProjectTables &tables, const std::string &destination, uint32_t task,
                                        const ExportOptions &options, const ExportProgressSink &progress);

}  // namespace eng
