#pragma once

#include <span>
#include <string>

namespace eng {

// The empty project file, built from schema.sql: a new project is these
// bytes written to a file.
std::span<const unsigned char> projectTemplate();

// Makes a new, empty project at path, replacing any file there. A project
// that another process holds open is not replaced (the error says so).
// Throws std::runtime_error with a message for the user.
void writeNewProject(const std::string &path);

}  // namespace eng
