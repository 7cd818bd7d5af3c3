#pragma once

#include <string>

namespace eng {

// Makes the last folder of a path (its parents must exist). True when the
// folder exists or was made; otherwise, when asked to report, shows the
// engine's "can't create" message and gives false.
bool createFolder(const std::string &path, bool report);

}  // namespace eng
