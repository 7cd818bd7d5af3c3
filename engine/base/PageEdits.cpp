#include "base/PageEdits.h"

#include <algorithm>

namespace eng {

std::string applyPageEdits(std::string_view page, std::vector<PageEdit> edits) {
    std::stable_sort(edits.begin(), edits.end(),
                     [](const PageEdit &a, const PageEdit &b) { return a.offset < b.offset; });
    std::string out;
    out.reserve(page.size());
    size_t done = 0;
    for (const PageEdit &edit : edits) {
        if (edit.offset < done || edit.offset > page.size() || edit.length > page.size() - edit.offset) continue;
        out.append(page.substr(done, edit.offset - done));
        out += edit.text;
        done = edit.offset + edit.length;
    }
    out.append(page.substr(done));
    return out;
}

}  // namespace eng
