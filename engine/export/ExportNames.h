#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// How an exported resource's address becomes the names of the folders and the
// file it is written to. Pure functions: every name they return is a legal
// file name that stays inside the folder it is created in.
namespace eng {

// The names of an address past "://": one per slash- or backslash-separated
// part and the query (the text after the first '?') as one last part, each
// percent-decoded, then sanitised (so "%2e%2e", "..%2f" and "%00" give names
// such as "__", ".._" and "_"), then, when longer than the maximum length,
// cut to it. A maximum length of 0 cuts every name plainly to 100; a given
// one shortens the last name keeping its extension. Empty parts are left out.
std::vector<std::string> exportSegments(std::string_view address, size_t maxLength);

// The name itself when no earlier name has it (exact comparison); otherwise
// the first of name[1], name[2], ... that is free, the number inserted before
// the extension or appended when there is none.
std::string uniqueExportName(const std::string &name, const std::vector<std::string> &taken);

// The name itself when it is not taken, else the first of name[1], name[2],
// ... (numbered as above) that is not.
std::string firstFreeName(const std::string &name, const std::function<bool(const std::string &)> &taken);

}  // namespace eng
