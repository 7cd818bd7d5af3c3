// Fuzz target: any bytes as a page and as a style sheet. Link extraction,
// the base, the refresh target and the title must neither crash nor read
// outside the page, and every spot must lie inside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/HtmlScanner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // Only the page's own bytes: a copy without a terminator behind it.
    const std::string_view page(reinterpret_cast<const char *>(data), size);
    for (const eng::PageLinks &found : {eng::extractLinks("http://example.com/dir/page.html", page),
                                        eng::extractStyleSheetLinks("http://example.com/dir/s.css", page, {})})
        for (const eng::LinkSpot &spot : found.spots)
            if (spot.offset > size || spot.length > size - spot.offset) std::abort();
    if (auto base = eng::findBase(page))
        if (base->offset > size || base->length > size - base->offset) std::abort();
    eng::refreshTarget("http://example.com/", page);
    eng::pageTitle(page, "text/html; charset=windows-1251");
    return 0;
}
