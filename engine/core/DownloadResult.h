#pragma once

#include <string_view>

#include "net/DownloadRecord.h"
#include "store/ProjectTables.h"

namespace eng {

// Applies a finished download to its URL resource: copies the response,
// names the resource, joins a resumed body to the stored part, keeps the
// stored copy when a refresh failed, completes a revalidation from the
// earlier fetch when the server answered "not modified", and otherwise
// stores the body. The page title is what the scanner found in an HTML body.
// A body that was too large to keep is reported, and the resource keeps the
// error (and any copy stored before).
void applyDownloadResult(ProjectTables &tables, UrlResRow &resource, const DownloadRecord &download,
                         std::string_view pageTitle);

}  // namespace eng
