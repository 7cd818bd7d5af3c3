#pragma once

#include <cstdint>
#include <string>

#include "export/ExportProgress.h"
#include "export/TaskExport.h"

namespace eng {

struct ProjectTables;

// Exports one stored resource as a complete web page: the page file (named
// after the destination's file name, else the resource's address) and,
// unless only the page is asked for, beside it "<page>_files" with the
// files its links embed (images, scripts, style sheets...), frames and
// refresh targets exported the same way inside it. Hyperlinks and links to
// what was not stored lead to absolute addresses. A page is never exported
// twice in one run: a frame that leads back to a page on the way stays an
// absolute link. The page name is made unique so that nothing existing is
// written into. False when the resource has no stored body or its page
// file could not be written.
bool exportResource(ProjectTables &tables, const std::string &destination, uint32_t urlRes,
                    const ExportOptions &options, bool pageOnly, ExportSummary &summary);

}  // namespace eng
