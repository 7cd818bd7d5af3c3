#pragma once

#include <string>
#include <string_view>

namespace lark {

// The engine's filter test report, written for a terminal instead of HTML: a
// pattern the address matches becomes "[+pattern]", one it misses
// "[-pattern]", and the visible blanks and line breaks become plain ones.
std::string readableFilterReport(std::string_view html);

}  // namespace lark
