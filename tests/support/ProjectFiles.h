#pragma once

#include <string>

namespace test {

// Writes a new project from the template, with the given version.
void writeProjectFile(const std::string &path, int version = 257);

// Runs SQL on a closed project file (to look at or change it from outside).
long long queryInteger(const std::string &path, const std::string &sql);
std::string queryText(const std::string &path, const std::string &sql);
void executeSql(const std::string &path, const std::string &sql);
// The rows of a table in one file that are not, with the same key and values, in the other.
long long rowsNotIn(const std::string &path, const std::string &other, const std::string &table);

}  // namespace test
