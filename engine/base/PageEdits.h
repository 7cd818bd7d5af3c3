#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace eng {

// One change to a page's bytes: the `length` bytes at `offset` give way to
// `text` (a length of 0 inserts). Links rewritten by any scanner, a blanked
// tag and inserted attributes all travel as edits, applied together once.
struct PageEdit {
    size_t offset = 0;
    size_t length = 0;
    std::string text;
};

// The page with the edits applied, in order of offset (edits at the same
// offset in the order given). An edit that overlaps one before it or reaches
// past the page's end is left out, so no byte is replaced twice.
std::string applyPageEdits(std::string_view page, std::vector<PageEdit> edits);

}  // namespace eng
