#pragma once

#include <cstdint>
#include <string_view>

#include "store/ProjectTables.h"

namespace eng {

// Who may have a local file read. A "file:" address is fetched only for a
// task that starts at a "file:" address itself: a page from the web (http,
// https, ftp) that links to a local file does not get it read and stored,
// just as browsers refuse such links.

// The address names a local file ("file:", any case).
bool isFileAddress(std::string_view address);

// A task that starts at `taskStart` may take the address.
bool mayTakeAddress(std::string_view taskStart, std::string_view address);

// The resource may be fetched: it is not a local file, or a task that
// starts at a local file holds it.
bool mayFetch(ProjectTables &tables, const UrlResRow &resource, std::string_view address);

}  // namespace eng
