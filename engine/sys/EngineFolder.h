#pragma once

#include <filesystem>

namespace eng {

// The folder of the file that holds the engine's code: libengine.so's, or
// the program's when the engine is linked into it. The crash report and the
// parser plug-ins are found there. Empty when it cannot be told.
std::filesystem::path engineFolder();

}  // namespace eng
