#pragma once

#include <string>
#include <vector>

namespace lark {

// lark search PROJECT [QUERY] [criteria]: the stored resources whose body
// words match QUERY and that meet the other criteria, one line each: the
// address, a tab, the title. A query that does not parse is shown with its
// error and where it fails, and ends lark with status 2.
int searchProject(const std::vector<std::string> &words);

}  // namespace lark
