#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "filters/Filter.h"

namespace eng {

// The expression of the rule that decides for the link kind, as an HTML
// fragment in which each pattern is green when it matches the URL and red
// when it does not; empty when no rule covers the kind. The colours compare
// the patterns as written (lowercased, not completed) with the URL as given
// (not lowercased), so they can differ from the filter's decision.
std::string filterTestReport(const Filter &filter, std::string_view url, uint32_t kind);

}  // namespace eng
