#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace test {

// Ways a project file gets damaged on disk, for repair tests.

// Cuts the file to half its size (as `truncate -s`).
void cutInHalf(const std::string &path);
// Overwrites one page (numbered from 1) with bytes of a random generator seeded with `seed`.
void overwritePage(const std::string &path, uint32_t page, unsigned seed, uint32_t pageSize = 4096);
// Overwrites `count` pages, chosen by the seed among all but the first, with
// random bytes; returns their numbers.
std::vector<uint32_t> overwriteRandomPages(const std::string &path, size_t count, unsigned seed,
                                           uint32_t pageSize = 4096);
// Writes into the folder files that are no projects: an empty file, one of
// random bytes and an SQLite database of another program (which has a table
// named Project); returns their paths.
std::vector<std::string> writeFilesThatAreNoProjects(const std::string &folder);
// The whole file, to compare before and after.
std::string fileBytes(const std::string &path);

}  // namespace test
